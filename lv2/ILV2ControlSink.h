// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Where the effect's editor sends its edits in the LV2 build: the open UI,
/// which writes them to the host's control ports. [ui]
class ILV2ControlSink {
public:
    virtual ~ILV2ControlSink() = default;
    /// A gesture on parameter `paramIdx` starts (true) or ends (false).
    virtual void TouchParam(int paramIdx, bool grabbed) = 0;
    /// Parameter `paramIdx` has the plain value `plain`.
    virtual void WriteParam(int paramIdx, double plain) = 0;
};
