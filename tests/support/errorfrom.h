// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runtimeerror.h"

#include <optional>

// The run-time error that action raises, if any.
std::optional<RuntimeError> errorFrom(const auto &action)
{
    try {
        action();
    } catch (const RuntimeError &error) {
        return error;
    }
    return std::nullopt;
}
