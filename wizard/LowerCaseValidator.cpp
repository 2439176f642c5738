// SPDX-License-Identifier: GPL-3.0-or-later
#include "LowerCaseValidator.h"

QValidator::State LowerCaseValidator::validate(QString &input, int &) const
{
    input = input.toLower();
    return Acceptable;
}
