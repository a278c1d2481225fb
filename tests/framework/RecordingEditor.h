// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "framework/IEditorContext.h"

#include <vector>

/// An editor that records the values it is given. The log outlives the
/// editor, which the plug-in base owns and deletes.
struct EditorLog {
    struct Delivery {
        int paramIdx;
        double value;
        bool isNormalized;
        bool beforeSurface;  ///< delivered before PrepareDrawSurface
    };
    std::vector<Delivery> deliveries;
    int surfacesPrepared = 0;
    bool destroyed = false;
};

class RecordingEditor : public IEditorContext {
public:
    explicit RecordingEditor(EditorLog& log) : mLog(log) {}
    ~RecordingEditor() override { mLog.destroyed = true; }

    void SetParameterFromPlugin(int paramIdx, double value, bool isNormalized) override
    {
        mLog.deliveries.push_back({paramIdx, value, isNormalized, mLog.surfacesPrepared == 0});
    }
    void PrepareDrawSurface() override { ++mLog.surfacesPrepared; }

private:
    EditorLog& mLog;
};
