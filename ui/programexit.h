// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The end of the program, as one call that tests can observe.
class ProgramExit
{
public:
    virtual ~ProgramExit() = default;
    // Ends the program with the exit status given. The real one never returns.
    virtual void quit(int status) = 0;
};

// Ends the process on the spot: no handler that is running or waiting takes
// another step and no further event is handled. Everything the game must keep
// (the record files) is already on disk by then.
class ImmediateExit final : public ProgramExit
{
public:
    [[noreturn]] void quit(int status) override;
};
