// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/TextEntrySession.h"

#include "framework/DecimalText.h"
#include "framework/IEffectBase.h"
#include "framework/IParamRecord.h"
#include "graphics/IControl.h"

#include <cstring>

bool TextEntrySession::Open(IControl* control, IParamRecord* param)
{
    if (!control || IsOpen()) return false;
    mControl = control;
    mParam = param;
    mState = kNone;
    return true;
}

TextEntrySession::TickResult TextEntrySession::Tick(const std::string& boxText)
{
    if (!IsOpen() || mState == kNone) return TickResult::kIdle;
    switch (mState) {
    case kEditing:
        return TickResult::kEditing;
    case kUpdate:
        mState = kNone;
        return TickResult::kSettled;
    case kCommit:
        Apply(boxText.substr(0, kMaxTextLength));
        Reset();
        return TickResult::kClosed;
    default:
        Reset();
        return TickResult::kClosed;
    }
}

void TextEntrySession::Reset() noexcept
{
    mControl = nullptr;
    mParam = nullptr;
    mState = kNone;
}

void TextEntrySession::Apply(const std::string& text)
{
    if (!mParam) {
        mControl->AcceptEnteredText(text.c_str());
        return;
    }
    double plain = 0.0;
    if (!ValueFromText(*mParam, text, plain)) return;
    // A typed value is one whole edit for the host, as a drag is.
    IEffectBase* plug = mControl->Plug();
    const int paramIdx = mControl->ParamIdx();
    const bool gesture = plug != nullptr && paramIdx >= 0;
    if (gesture) plug->BeginParamGesture(paramIdx);
    mControl->SetValueFromUser(mParam->PlainToNormalized(plain));
    if (gesture) plug->EndParamGesture(paramIdx);
}

bool TextEntrySession::ValueFromText(const IParamRecord& param, const std::string& text,
                                     double& value)
{
    const int kind = param.Kind();
    if (kind == IParamRecord::kKindEnum || kind == IParamRecord::kKindList) {
        // A text that names no entry is refused, not read as the first value.
        for (const auto& entry : param.DisplayTexts()) {
            if (std::strcmp(entry.text, text.c_str()) == 0) {
                value = entry.value;
                return true;
            }
        }
        return false;
    }

    // A parameter shown in its units is typed in them ("-3 dB", "3.1k").
    if (param.HasTextUnits()) return param.ParseFromHost(text, value);
    double number = 0.0;
    if (!ReadDecimal(text, number)) return false;
    value = param.NegateDisplay() ? -number : number;
    return true;
}

bool TextEntrySession::AcceptsChar(const IParamRecord* param, char32_t c) noexcept
{
    if (!param || c == 8 || param->HasTextUnits()) return true;
    const bool digitOrSign = (c >= '0' && c <= '9') || c == '+' || c == '-';
    switch (param->Kind()) {
    case IParamRecord::kKindEnum:
    case IParamRecord::kKindInteger:
    case IParamRecord::kKindList:
        return digitOrSign;
    case IParamRecord::kKindContinuous:
        return digitOrSign || c == '.';
    default:
        return true;
    }
}
