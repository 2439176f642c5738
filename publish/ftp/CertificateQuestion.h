// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct CertificateIssue;

// The question put to the user when a server's certificate cannot be
// verified: why, the certificate's fingerprint, and whether to trust it for
// this server from now on.
QString certificateQuestionText(const CertificateIssue &issue);
