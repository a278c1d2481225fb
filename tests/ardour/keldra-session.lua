-- Drives a headless Ardour session around the KELDRA plug-in.
--   create SESSION_DIR EXPORT_DIR PRESET_ID NAME=VALUE...
--     new session, stereo track: sine generator -> KELDRA with the settings,
--     save, export four seconds
--   reopen SESSION_DIR EXPORT_DIR PRESET_ID
--     load the saved session, print KELDRA's parameters, export again
-- Prints "PARAM <title> <value>" for every KELDRA parameter it knows, and
-- "SAVED" / "EXPORTED" as each step completes.
local mode, dir, export_dir, preset = arg[1], arg[2], arg[3], arg[4]
local rate = 48000
-- KELDRA_PLUGIN_TYPE=LV2 inserts the LV2 build instead of the VST3 one.
local plugin_type = os.getenv("KELDRA_PLUGIN_TYPE") == "LV2" and ARDOUR.PluginType.LV2 or ARDOUR.PluginType.VST3

local backend = AudioEngine:set_backend("None (Dummy)", "", "")
backend:set_device_name("Silence")
backend:set_sample_rate(rate)
backend:set_buffer_size(512)
assert(AudioEngine:start(false) == 0, "audio engine did not start")

local function keldra_params(proc)
  local plugin = proc:to_insert():plugin(0)
  local params = {}
  -- The processor's parameters count controls only; the plug-in's numbers
  -- (LV2 port indices) may differ from them.
  for j = 0, plugin:parameter_count() - 1 do
    local id, ok = plugin:nth_parameter(j, true)
    if ok[2] and plugin:parameter_is_input(id) then
      local _, t = plugin:get_parameter_descriptor(id, ARDOUR.ParameterDescriptor())
      params[t[2].label] = j
    end
  end
  return params
end

local function find_keldra(route)
  local i = 0
  while true do
    local proc = route:nth_plugin(i)
    if proc:isnil() then return nil end
    if proc:display_name() == "KELDRA" then return proc end
    i = i + 1
  end
end

local function report(proc)
  for title, j in pairs(keldra_params(proc)) do
    print(string.format("PARAM %s %.6f", title, ARDOUR.LuaAPI.get_processor_param(proc, j, true)))
  end
end

local function export(session)
  session:request_locate(0, false, ARDOUR.LocateTransportDisposition.MustStop, ARDOUR.TransportRequestSource.TRS_UI)
  local e = session:simple_export()
  e:set_folder(export_dir)
  e:set_range(0, 4 * rate)
  assert(e:set_preset(preset), "export preset not found")
  assert(e:check_outputs(), "nothing to export")
  assert(e:run_export(), "export failed")
  print("EXPORTED")
end

local session
if mode == "create" then
  session = create_session(dir, "keldra", rate)
  assert(session, "could not create the session")
  local track = session:new_audio_track(2, 2, nil, 1, "Sine", ARDOUR.PresentationInfo.max_order,
                                        ARDOUR.TrackMode.Normal, true):front()
  local sine = ARDOUR.LuaAPI.new_luaproc(session, "SinGen")
  assert(not sine:isnil(), "no sine generator")
  track:add_processor_by_index(sine, 0, nil, true)
  ARDOUR.LuaAPI.set_processor_param(sine, 0, 1000)
  ARDOUR.LuaAPI.set_processor_param(sine, 1, -18)
  local keldra = ARDOUR.LuaAPI.new_plugin(session, "KELDRA", plugin_type, "")
  assert(not keldra:isnil(), "KELDRA was not found by the plug-in scan")
  -- Who Ardour lists it by (it shows "Unknown" for a plug-in without a maker).
  for p in ARDOUR.LuaAPI.list_plugins():iter() do
    if p.name == "KELDRA" and p.type == plugin_type then print("MAKER " .. p.creator) end
  end
  assert(track:add_processor_by_index(keldra, 1, nil, true) == 0, "KELDRA could not be inserted")
  local params = keldra_params(keldra)
  for i = 5, #arg do
    local title, value = arg[i]:match("^([^=]+)=(.+)$")
    assert(params[title], "KELDRA has no parameter " .. tostring(title))
    assert(ARDOUR.LuaAPI.set_processor_param(keldra, params[title], tonumber(value)), "could not set " .. title)
  end
  -- Let a few cycles deliver the values before exporting.
  ARDOUR.LuaAPI.usleep(1000000)
  report(keldra)
  -- Save before exporting: the headless session occasionally crashes after
  -- an export, and the saved state is what the second run checks.
  session:save_state("", false, false, false, false, false)
  print("SAVED")
  export(session)
else
  session = load_session(dir, "keldra")
  assert(session, "could not reopen the session")
  local track = session:route_by_name("Sine")
  assert(not track:isnil(), "track missing after reopening")
  local keldra = find_keldra(track)
  assert(keldra, "KELDRA missing after reopening")
  ARDOUR.LuaAPI.usleep(1000000)
  report(keldra)
  export(session)
end
close_session()
print("DONE " .. mode)
