// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClapTestHost.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

struct Bytes {
    std::vector<uint8_t> data;
    size_t read = 0;
};

int64_t CLAP_ABI WriteBytes(const clap_ostream_t* stream, const void* buffer, uint64_t size)
{
    auto& bytes = static_cast<Bytes*>(stream->ctx)->data;
    bytes.insert(bytes.end(), static_cast<const uint8_t*>(buffer), static_cast<const uint8_t*>(buffer) + size);
    return static_cast<int64_t>(size);
}

int64_t CLAP_ABI ReadBytes(const clap_istream_t* stream, void* buffer, uint64_t size)
{
    // A few bytes at a time, as a host reading from a file may deliver them.
    auto& bytes = *static_cast<Bytes*>(stream->ctx);
    const size_t n = std::min<size_t>({static_cast<size_t>(size), bytes.data.size() - bytes.read, size_t{5}});
    std::memcpy(buffer, bytes.data.data() + bytes.read, n);
    bytes.read += n;
    return static_cast<int64_t>(n);
}

void CLAP_ABI Nothing(const clap_host_t*) {}

} // namespace

ClapTestHost::ClapTestHost(const std::string& path, const char* pluginId)
{
    mLibrary = SharedLibrary::Open(path, mError);
    if (!mLibrary)
        return;
    mEntry = static_cast<const clap_plugin_entry_t*>(mLibrary->Symbol("clap_entry"));
    if (mEntry == nullptr || !mEntry->init(path.c_str())) {
        mError = "no clap_entry, or init failed";
        mEntry = nullptr;
        return;
    }
    mFactory = static_cast<const clap_plugin_factory_t*>(mEntry->get_factory(CLAP_PLUGIN_FACTORY_ID));
    if (mFactory == nullptr) {
        mError = "no plug-in factory";
        return;
    }
    mHost = clap_host_t{kClapVersion, this, "clap-test-host", "Brackenfold", "", "1.0", HostExtension,
                        Nothing, Nothing, Nothing};
    mPlugin = mFactory->create_plugin(mFactory, &mHost, pluginId);
    if (mPlugin == nullptr) {
        mError = "create_plugin refused";
        return;
    }
    if (!mPlugin->init(mPlugin)) {
        mError = "init failed";
        mPlugin->destroy(mPlugin);
        mPlugin = nullptr;
    }
}

ClapTestHost::~ClapTestHost()
{
    if (mPlugin != nullptr) {
        if (mActive)
            mPlugin->deactivate(mPlugin);
        mPlugin->destroy(mPlugin);
    }
    if (mEntry != nullptr)
        mEntry->deinit();
}

const void* CLAP_ABI ClapTestHost::HostExtension(const clap_host_t*, const char* id)
{
    static const clap_host_params_t params = {
        [](const clap_host_t* host, uint32_t flags) {
            if ((flags & CLAP_PARAM_RESCAN_VALUES) != 0)
                ++From(host).mValueRescans;
        },
        [](const clap_host_t*, clap_id, uint32_t) {},
        [](const clap_host_t* host) { ++From(host).mFlushRequests; }};
    return std::strcmp(id, CLAP_EXT_PARAMS) == 0 ? &params : nullptr;
}

const clap_plugin_params_t& ClapTestHost::Params() const
{
    return *static_cast<const clap_plugin_params_t*>(mPlugin->get_extension(mPlugin, CLAP_EXT_PARAMS));
}

const clap_plugin_state_t& ClapTestHost::State() const
{
    return *static_cast<const clap_plugin_state_t*>(mPlugin->get_extension(mPlugin, CLAP_EXT_STATE));
}

bool ClapTestHost::Activate(double rate, uint32_t maxFrames)
{
    mActive = mPlugin->activate(mPlugin, rate, 1, maxFrames) && mPlugin->start_processing(mPlugin);
    return mActive;
}

const clap_input_events_t* ClapTestHost::InputEvents(const ParamValues& events)
{
    mIn.Clear();
    for (const ParamValue& event : events)
        mIn.AddValue(event.id, event.time, event.value);
    return mIn.List();
}

void ClapTestHost::Record(const clap_event_header_t& event)
{
    const bool isValue = event.type == CLAP_EVENT_PARAM_VALUE;
    const clap_id id = isValue ? reinterpret_cast<const clap_event_param_value_t&>(event).param_id
                               : reinterpret_cast<const clap_event_param_gesture_t&>(event).param_id;
    const double value = isValue ? reinterpret_cast<const clap_event_param_value_t&>(event).value : 0.0;
    mSent.push_back({event.type, id, value});
}

clap_process_status ClapTestHost::Process(float** in32, float** out32, double** in64, double** out64,
                                          uint32_t frames, const ParamValues& events)
{
    clap_audio_buffer_t inBuffer{in32, in64, 2, 0, 0};
    clap_audio_buffer_t outBuffer{out32, out64, 2, 0, 0};
    clap_process_t process{};
    process.steady_time = -1;
    process.frames_count = frames;
    process.audio_inputs = &inBuffer;
    process.audio_outputs = &outBuffer;
    process.audio_inputs_count = 1;
    process.audio_outputs_count = 1;
    process.in_events = InputEvents(events);
    process.out_events = mOut.List();
    return mPlugin->process(mPlugin, &process);
}

void ClapTestHost::Flush(const ParamValues& events)
{
    Params().flush(mPlugin, InputEvents(events), mOut.List());
}

std::vector<uint8_t> ClapTestHost::Save()
{
    Bytes bytes;
    const clap_ostream_t stream{&bytes, WriteBytes};
    return State().save(mPlugin, &stream) ? bytes.data : std::vector<uint8_t>{};
}

bool ClapTestHost::Load(const std::vector<uint8_t>& data)
{
    Bytes bytes{data, 0};
    const clap_istream_t stream{&bytes, ReadBytes};
    return State().load(mPlugin, &stream);
}

double ClapTestHost::Value(clap_id id) const
{
    double value = 0.0;
    return Params().get_value(mPlugin, id, &value) ? value : std::nan("");
}
