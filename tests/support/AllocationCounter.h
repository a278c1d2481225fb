// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Counts every operator new of the test program (a loaded module's included)
/// while it lives. Linking the counter replaces the global allocation
/// functions of the whole program, so only programs that count link it.
class AllocationCounter {
public:
    AllocationCounter() noexcept;
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    /// Allocations since construction.
    long Count() const noexcept;
};
