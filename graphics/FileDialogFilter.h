// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

/// The file types a file chooser offers, built from a space-separated list
/// of extensions ("wav aif"): one pattern per extension ("*.wav"), shown as
/// one entry whose description is the patterns joined by ";". There is no
/// default extension: the chooser program has none, and adding one after it
/// returned would pass by its overwrite question. [any]
struct FileDialogFilter {
    /// Longest description (and pattern list) a chooser takes.
    static constexpr size_t kMaxFilterLength = 255;

    std::vector<std::string> patterns; ///< "*.wav", "*.aif"
    std::string description;           ///< "*.wav;*.aif"

    /// Builds the filter; blanks between extensions may repeat. A list whose
    /// description would exceed the limit is cut after the last extension
    /// that fits, so no pattern is ever cut in half.
    static FileDialogFilter FromExtensions(const char* extensions);
};
