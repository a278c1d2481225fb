// SPDX-License-Identifier: GPL-3.0-or-later
// Under AddressSanitizer: fontconfig keeps a few blocks of its parsed
// configuration unreachable for the life of the process. That is the
// library's own, not ours, so the leak checker is told to ignore it.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
