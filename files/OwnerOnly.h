// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDevice>

// The permissions of a file that holds a secret or a trust (the settings with
// the password, the keys of the hosts the user trusted): its owner may read
// and write it, nobody else may even read it.
inline constexpr QFileDevice::Permissions OwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;
