// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/EditorLink.h"

#include "framework/ParamStore.h"

std::vector<double> EditorLink::Fill(IEditorContext& editor) const
{
    std::vector<double> shown(static_cast<std::size_t>(mParams.GetParamCount()));
    for (int i = 0; i < mParams.GetParamCount(); ++i) {
        shown[static_cast<std::size_t>(i)] = mParams.GetParam(i)->GetNormalized();
        editor.SetParameterFromPlugin(i, shown[static_cast<std::size_t>(i)], true);
    }
    editor.PrepareDrawSurface();
    return shown;
}

void EditorLink::Keep(std::unique_ptr<IEditorContext> editor, std::vector<double> shown) noexcept
{
    mShown = std::move(shown);
    mEditor = std::move(editor);
}

void EditorLink::Follow()
{
    if (!mEditor) {
        return;
    }
    for (int i = 0; i < mParams.GetParamCount(); ++i) {
        const double now = mParams.GetParam(i)->GetNormalized();
        double& shown = mShown[static_cast<std::size_t>(i)];
        if (now != shown) {
            shown = now;
            mEditor->SetParameterFromPlugin(i, now, true);
        }
    }
}

void EditorLink::Refresh()
{
    if (!mEditor) {
        return;
    }
    for (int i = 0; i < mParams.GetParamCount(); ++i) {
        mEditor->SetParameterFromPlugin(i, mParams.GetParam(i)->Value(), false);
    }
}

void EditorLink::NoteShown(int paramIdx, double normalized) noexcept
{
    if (paramIdx >= 0 && static_cast<std::size_t>(paramIdx) < mShown.size()) {
        mShown[static_cast<std::size_t>(paramIdx)] = normalized;
    }
}
