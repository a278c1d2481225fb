// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphics/IGraphicsOffscreen.h"

#include "platform/ModulePath.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_PngLoader.h"

#ifdef _WIN32
#include "graphics/win32/WindowsDesktop.h"
#else
#include "graphics/x11/LinuxDesktop.h"
#endif

IGraphicsOffscreen::IGraphicsOffscreen(IEffectBase* plug, int width, int height, int fps)
    : IGraphics(plug, width, height, fps)
{
}

bool IGraphicsOffscreen::PresentArea(const PixelRect& rect)
{
    mPresented.push_back(rect);
    return true;
}

void IGraphicsOffscreen::CancelValueEntry() {}

const char* IGraphicsOffscreen::GraphicsApiName() const { return "Offscreen"; }

int IGraphicsOffscreen::ShowMessage(const char*, const char*, int) { return kMessageCancel; }

PopupMenu* IGraphicsOffscreen::RunPopupMenu(PopupMenu&, const PixelRect&)
{
    ReleaseCapture();
    return nullptr;
}

void IGraphicsOffscreen::OpenTextEntry(IControl*, const TextStyle&, const PixelRect&, const char*,
                                       IParamRecord*)
{
}

std::string IGraphicsOffscreen::HostFolder()
{
#ifdef _WIN32
    return WindowsDesktop::ExecutableFolder(nullptr);
#else
    return LinuxDesktop::HostFolder();
#endif
}

std::string IGraphicsOffscreen::PluginFolder() { return ModuleDirectory(); }

std::string IGraphicsOffscreen::DesktopFolder() { return {}; }

std::string IGraphicsOffscreen::AppDataFolder(bool) { return {}; }

std::string IGraphicsOffscreen::UserAppDataFolder() { return AppDataFolder(false); }

void IGraphicsOffscreen::ChooseFile(std::string& path, int, std::string&, const char*)
{
    path.clear();
}

bool IGraphicsOffscreen::ChooseColour(ArgbColor&, const char*) { return false; }

bool IGraphicsOffscreen::OpenWebPage(const char* url, const char*, const char*, const char*)
{
    mRequestedPages.emplace_back(url ? url : "");
    return false;
}

void* IGraphicsOffscreen::OpenEditorWindow(void*) { return nullptr; }

void IGraphicsOffscreen::CloseEditorWindow() {}

void* IGraphicsOffscreen::NativeWindow() const { return nullptr; }

bool IGraphicsOffscreen::ReadClipboardText(std::string& text)
{
    text.clear();
    return false;
}

std::unique_ptr<PIX_IBitmap> IGraphicsOffscreen::LoadImageResource(int resourceId, const char* name)
{
    return PIX_LoadPngResource(resourceId, name);
}
