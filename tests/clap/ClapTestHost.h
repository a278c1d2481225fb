// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"
#include "host/ClapEventLists.h"
#include "host/SharedLibrary.h"

#include <memory>
#include <string>
#include <vector>

/// A bare CLAP host over the built KELDRA.clap: loads the module through
/// clap_entry, creates and initialises one instance and talks to it through
/// the C ABI only, recording what the plug-in asks of the host.
class ClapTestHost {
public:
    /// Loads `path` and creates its plug-in `pluginId`; Ready() tells
    /// whether that worked, Error() why not.
    explicit ClapTestHost(const std::string& path, const char* pluginId = "com.brackenfold.keldra");
    ~ClapTestHost();

    bool Ready() const { return mPlugin != nullptr; }
    const std::string& Error() const { return mError; }
    const clap_plugin_entry_t& Entry() const { return *mEntry; }
    const clap_plugin_factory_t& Factory() const { return *mFactory; }
    const clap_plugin_t* Plugin() const { return mPlugin; }
    const clap_plugin_params_t& Params() const;
    const clap_plugin_state_t& State() const;

    /// Activates at `rate` for blocks of up to `maxFrames`.
    bool Activate(double rate, uint32_t maxFrames);
    /// A parameter value (plain) at sample offset `time`.
    struct ParamValue {
        clap_id id;
        uint32_t time;
        double value;
    };
    using ParamValues = std::vector<ParamValue>;
    /// One stereo block in the given sample size, with `events` (time
    /// ordered) and the plug-in's output events collected into Sent().
    clap_process_status Process(float** in32, float** out32, double** in64, double** out64, uint32_t frames,
                                const ParamValues& events);
    /// flush with `events`, collecting output events into Sent().
    void Flush(const ParamValues& events);
    /// The state bytes save writes; empty if save fails.
    std::vector<uint8_t> Save();
    /// load from `bytes`; the plug-in's answer.
    bool Load(const std::vector<uint8_t>& bytes);
    /// The plug-in's value of `id` (NaN if it has none).
    double Value(clap_id id) const;

    /// What the plug-in sent back: (type, param id, value) per event.
    struct SentEvent {
        uint16_t type;
        clap_id id;
        double value;
    };
    std::vector<SentEvent>& Sent() { return mSent; }
    /// How often the plug-in asked for flush, or for a rescan of values.
    int FlushRequests() const { return mFlushRequests; }
    int ValueRescans() const { return mValueRescans; }

private:
    static const void* CLAP_ABI HostExtension(const clap_host_t* host, const char* id);
    static ClapTestHost& From(const clap_host_t* host) { return *static_cast<ClapTestHost*>(host->host_data); }
    const clap_input_events_t* InputEvents(const ParamValues& events);
    void Record(const clap_event_header_t& event);

    std::unique_ptr<SharedLibrary> mLibrary;
    const clap_plugin_entry_t* mEntry = nullptr;
    const clap_plugin_factory_t* mFactory = nullptr;
    clap_host_t mHost{};
    const clap_plugin_t* mPlugin = nullptr;
    bool mActive = false;
    std::string mError;
    std::vector<SentEvent> mSent;
    ClapInputEventList mIn;
    ClapOutputEventList mOut{[this](const clap_event_header_t& event) { Record(event); }};
    int mFlushRequests = 0;
    int mValueRescans = 0;
};
