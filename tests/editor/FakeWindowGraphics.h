// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphics/IEditorRunLoop.h"
#include "graphics/IPlatformGraphics.h"
#include "raster/PIX_IBitmap.h"

#include <cmath>
#include <memory>
#include <string>
#include <unistd.h>

/// A window host without a window system: "opening" hands out a token, and,
/// like a real window host, watches a descriptor (a pipe the test can write
/// to) and runs its redraw tick through the run loop it was given, both
/// ended again on closing. Everything else answers "cancelled".
class FakeWindowGraphics : public IPlatformGraphics {
public:
    FakeWindowGraphics(IEffectBase* plug, int width, int height) : IPlatformGraphics(plug, width, height, 25)
    {
        if (::pipe(mPipe) != 0) mPipe[0] = mPipe[1] = -1;
    }
    ~FakeWindowGraphics() override
    {
        CloseEditorWindow();
        ::close(mPipe[0]);
        ::close(mPipe[1]);
    }

    void* OpenEditorWindow(void* parent) override
    {
        if (failOpen) return nullptr;
        CloseEditorWindow();  // reopening moves the one window
        ++opens;
        lastParent = parent;
        mOpen = true;
        mToken = reinterpret_cast<void*>(uintptr_t(opens));
        mRegisteredWith = mLoop;
        if (mLoop != nullptr) {
            mFdId = mLoop->RegisterFdHandler(mPipe[0], [this] {
                char byte;
                if (::read(mPipe[0], &byte, 1) == 1) ++events;
            });
            mTimerId = mLoop->RegisterTimer(1000 / Fps(), [this] { ++ticks; });
        }
        return mToken;
    }
    void CloseEditorWindow() override
    {
        if (!mOpen) return;
        ++closes;
        mOpen = false;
        if (mRegisteredWith != nullptr) {
            mRegisteredWith->Unregister(mFdId);
            mRegisteredWith->Unregister(mTimerId);
        }
        mRegisteredWith = nullptr;
    }
    void* NativeWindow() const override { return mOpen ? mToken : nullptr; }
    void SetRunLoop(IEditorRunLoop* loop) override { mLoop = loop; }
    void SetContentScale(double scale) override { mScale = std::isfinite(scale) && scale >= 1.0 ? scale : 1.0; }
    double ContentScale() const override { return mScale; }
    int WindowWidth() const override { return int(std::lround(Width() * mScale)); }
    int WindowHeight() const override { return int(std::lround(Height() * mScale)); }

    /// Makes the watched descriptor readable once.
    void SendEvent() { (void)!::write(mPipe[1], "e", 1); }
    IEditorRunLoop* RunLoop() const { return mLoop; }

    bool PresentArea(const PixelRect&) override { return true; }
    void CancelValueEntry() override {}
    int ShowMessage(const char*, const char*, int) override { return kMessageCancel; }
    PopupMenu* RunPopupMenu(PopupMenu&, const PixelRect&) override { return nullptr; }
    void OpenTextEntry(IControl*, const TextStyle&, const PixelRect&, const char*, IParamRecord*) override {}
    std::string HostFolder() override { return {}; }
    std::string PluginFolder() override { return {}; }
    std::string DesktopFolder() override { return {}; }
    std::string AppDataFolder(bool) override { return {}; }
    std::string UserAppDataFolder() override { return {}; }
    void ChooseFile(std::string& path, int, std::string&, const char*) override { path.clear(); }
    bool ChooseColour(ArgbColor&, const char*) override { return false; }
    bool OpenWebPage(const char*, const char*, const char*, const char*) override { return false; }
    bool ReadClipboardText(std::string& text) override
    {
        text.clear();
        return false;
    }
    std::unique_ptr<PIX_IBitmap> LoadImageResource(int, const char*) override { return nullptr; }

    bool failOpen = false;
    int opens = 0;
    int closes = 0;
    int events = 0;
    int ticks = 0;
    void* lastParent = nullptr;

private:
    IEditorRunLoop* mLoop = nullptr;
    IEditorRunLoop* mRegisteredWith = nullptr; ///< the loop of the open window's registrations
    bool mOpen = false;
    void* mToken = nullptr; ///< the "window": a different one for every opening
    double mScale = 1.0;
    int mPipe[2] = {-1, -1};
    int mFdId = 0;
    int mTimerId = 0;
};
