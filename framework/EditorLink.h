// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IEditorContext.h"

#include <memory>
#include <vector>

class ParamStore;

/// The plug-in base's link to its editor: it owns the attached editor and
/// shows it the parameter values, at attachment, after a restore, and on
/// the editor's own timer whatever changed since. User-interface thread
/// only: the audio thread never touches the editor.
class EditorLink {
public:
    explicit EditorLink(const ParamStore& params) noexcept : mParams(params) {}
    EditorLink(const EditorLink&) = delete;
    EditorLink& operator=(const EditorLink&) = delete;

    /// [ui] Gives a new editor every normalised value and lets it prepare
    /// its draw surface (it allocates: call without the plug-in lock);
    /// returns the values given.
    std::vector<double> Fill(IEditorContext& editor) const;
    /// [ui, plug-in lock held] Keeps `editor`, which was given `shown`.
    void Keep(std::unique_ptr<IEditorContext> editor, std::vector<double> shown) noexcept;
    /// [ui] Destroys the editor (before the parameters its controls refer to).
    void Drop() noexcept { mEditor.reset(); }
    /// [ui] Delivers every parameter whose value changed since it was shown.
    void Follow();
    /// [ui] Delivers every parameter's plain value.
    void Refresh();
    /// [ui] The editor itself made parameter `paramIdx` show `normalized`.
    void NoteShown(int paramIdx, double normalized) noexcept;

    IEditorContext* Get() noexcept { return mEditor.get(); }

private:
    const ParamStore& mParams;
    std::unique_ptr<IEditorContext> mEditor;
    /// The normalised values the editor was last given.
    std::vector<double> mShown;
};
