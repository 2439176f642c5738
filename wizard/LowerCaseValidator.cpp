// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/LowerCaseValidator.h"

QValidator::State LowerCaseValidator::validate(QString &input, int &) const
{
    input = input.toLower();
    return Acceptable;
}
