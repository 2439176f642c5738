// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/PublishJob.h"

class QWidget;
class UserPrompts;

// The boxes that tell how a run ended, over `window`. Every failure box also
// offers, as its details, why the step failed.
void showRunEnd(UserPrompts &prompts, QWidget *window, PublishJob::Outcome outcome,
                const QString &entry, const QString &reason);
// Told before how the run ended, when the user cancelled it.
void showCancelled(UserPrompts &prompts, QWidget *window);
// A warning titled "Brenzo - Error".
void showPublishError(UserPrompts &prompts, QWidget *window, const QString &text,
                      const QString &details = QString());
