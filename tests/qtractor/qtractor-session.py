#!/usr/bin/env python3
"""qtractor-session.py clap|lv2 PLUGIN KELDRA_RENDER VST3_BUNDLE STANDIN

Debian's Qtractor, a real CLAP and LV2 host, on an X server, JACK server and
window manager of the test's own: a session with KELDRA (PLUGIN: the CLAP
module or the LV2 bundle) on an audio track opens; the editor Qtractor opens
from its mixer shows keldra-render's panel of the same settings; a knob drag
reaches Qtractor, which saves the new value; the saved session reopens
unmodified, with the knob where the drag left it.
Exit 77 (skipped) when Qtractor or the X tools are not installed."""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from x11_screen import Screen, first_difference, png_rgb  # noqa: E402

# Where Qtractor 0.9.31 draws what the test presses, in its default window
# sizes (each run starts from default settings): the main window's mixer button and a track's mute button, and the
# first plug-in of the first track strip in the mixer.
MIXER_BUTTON = (738, 38)
TRACK_MUTE_BUTTON = (75, 206)
MIXER_FIRST_PLUGIN = (205, 47)
# GainH's knob on the panel, and the drag the test makes on it: 40 pixels up
# turn it by 40/324 of its range.
GAIN_H_KNOB = (223, 102)
DRAG = -40
GAIN_H_DRAGGED = 0.5 + 40 / 324

SESSION = """<!DOCTYPE qtractorSession>
<session version="Qtractor 0.9.31" name="keldra">
 <properties>
  <directory>{folder}</directory>
  <sample-rate>48000</sample-rate>
 </properties>
 <devices>
  <audio-engine>
   <audio-bus name="Master" mode="duplex">
    <channels>2</channels>
   </audio-bus>
  </audio-engine>
 </devices>
 <tracks>
  <track name="Guitar" type="audio">
   <properties>
    <input-bus>Master</input-bus>
    <output-bus>Master</output-bus>
   </properties>
   <plugins>
    <plugin type="{type}">
     <filename>{plugin}</filename>
     <index>0</index>
     <label>KELDRA</label>
     <activated>1</activated>
     <editor-pos>1100,100</editor-pos>
    </plugin>
   </plugins>
  </track>
 </tracks>
</session>
"""

TWM_SETTINGS = """TitleFont "fixed"
ResizeFont "fixed"
MenuFont "fixed"
IconFont "fixed"
IconManagerFont "fixed"
NoTitle
RandomPlacement
UsePPosition "on"
"""


class Programs:
    """The programs the test starts, stopped in reverse order, each by its own id."""

    def __init__(self, env, logs):
        self.env, self.logs, self.started = env, logs, []

    def start(self, name, command, **options):
        log = open(os.path.join(self.logs, name + ".log"), "w")
        process = subprocess.Popen(command, env=options.get("env", self.env), stdout=log,
                                   stderr=subprocess.STDOUT, pass_fds=options.get("pass_fds", ()))
        self.started.append(process)
        return process

    def stop(self, process):
        if process.poll() is None:
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self.started.remove(process)

    def stop_all(self):
        for process in reversed(list(self.started)):
            self.stop(process)


def start_x_server(programs):
    read_end, write_end = os.pipe()
    programs.start("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1200x24",
                            "-nolisten", "tcp"], pass_fds=(write_end,))
    os.close(write_end)
    with os.fdopen(read_end) as displays:
        number = displays.readline().strip()
    if not number:
        raise RuntimeError("Xvfb did not start")
    return ":" + number


def param_value(session_text, name):
    # Qtractor writes the attributes in either order.
    match = re.search(r'<param [^>]*name="%s"[^>]*>([^<]*)</param>' % name, session_text)
    return float(match.group(1)) if match else None


class QtractorRun:
    def __init__(self, programs, screen, standin, session_file):
        # Settings of its own, so that its windows are where a first run puts them.
        home = tempfile.mkdtemp(dir=programs.logs, prefix="home-")
        env = dict(programs.env, LD_PRELOAD=standin, HOME=home, XDG_CONFIG_HOME=home)
        self.programs, self.screen = programs, screen
        self.process = programs.start("qtractor", ["qtractor", session_file], env=env)
        self.main = screen.await_window(r"keldra\.qtr")

    def open_editor(self):
        """Opens the mixer from the tool bar and the editor from the plug-in in its track strip."""
        self.screen.click(self.main.x + MIXER_BUTTON[0], self.main.y + MIXER_BUTTON[1])
        mixer = self.screen.await_window(r"^Mixer ", 10)
        if mixer is None:
            return None
        x, y = mixer.x + MIXER_FIRST_PLUGIN[0], mixer.y + MIXER_FIRST_PLUGIN[1]
        self.screen.click(x, y)
        self.screen.click(x, y, count=2)
        # The host's own frame may carry the plug-in's name: the class tells them apart.
        return self.screen.await_window(r"^KELDRA$", 10, window_class="KELDRA")

    def save(self, session_file):
        """Marks the session changed (mute on and off) and saves it with Ctrl+S; its saved text."""
        for _ in range(2):
            self.screen.click(self.main.x + TRACK_MUTE_BUTTON[0], self.main.y + TRACK_MUTE_BUTTON[1])
        if not self.press_save(session_file, 10):
            self.screen.dump(self.main, os.path.join(self.programs.logs, "unsaved.xwd"))
        time.sleep(0.5)  # the whole file, not a part being written
        return open(session_file).read()

    def press_save(self, session_file, timeout):
        """Ctrl+S; whether the file was written within timeout seconds (Qtractor writes only a modified session)."""
        before = os.stat(session_file).st_mtime_ns
        self.screen.key(self.main.x + 20, self.main.y + self.main.height - 60, "ctrl+s")
        deadline = time.monotonic() + timeout
        while os.stat(session_file).st_mtime_ns == before and time.monotonic() < deadline:
            time.sleep(0.25)
        return os.stat(session_file).st_mtime_ns != before

    def stop(self):
        self.programs.stop(self.process)


def await_pixels(screen, window, expected, width, timeout=5):
    """None once the window shows expected, else the first differing pixel after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        difference = first_difference(screen.pixels(window), expected, width)
        if difference is None or time.monotonic() > deadline:
            if difference is not None:
                print("first different pixel (x, y): %s" % (difference,))
            return difference
        time.sleep(0.2)


def main():
    plugin_format, plugin, render, bundle, standin = sys.argv[1:6]
    # A timeout's SIGTERM still stops every program the test started.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    for tool in ("qtractor", "jackd", "Xvfb", "twm", "xdotool", "xwd", "xwininfo"):
        if shutil.which(tool) is None:
            print("%s is not installed; the Qtractor session is skipped" % tool)
            return 77
    work = tempfile.mkdtemp(prefix="keldra-qtractor-")
    env = dict(os.environ, HOME=work, XDG_RUNTIME_DIR=work, JACK_NO_AUDIO_RESERVATION="1",
               JACK_DEFAULT_SERVER="keldra-qtractor-%d" % os.getpid())
    if plugin_format == "lv2":
        # Qtractor finds LV2 plug-ins by URI, on LV2_PATH: the bundle alone there.
        os.mkdir(os.path.join(work, "lv2"))
        os.symlink(os.path.abspath(plugin), os.path.join(work, "lv2", "keldra.lv2"))
        env["LV2_PATH"] = os.path.join(work, "lv2")
        plugin_type, plugin = "LV2", "urn:brackenfold:keldra"
    else:
        plugin_type = "CLAP"
    programs = Programs(env, work)
    failures = []

    def check(condition, message):
        print(("PASS: " if condition else "FAIL: ") + message)
        if not condition:
            failures.append(message)

    try:
        display = start_x_server(programs)
        env["DISPLAY"] = display
        screen = Screen(display)
        with open(os.path.join(work, "twmrc"), "w") as settings:
            settings.write(TWM_SETTINGS)
        programs.start("twm", ["twm", "-f", os.path.join(work, "twmrc")], env=dict(env, LC_ALL="C"))
        programs.start("jackd", ["jackd", "-n", env["JACK_DEFAULT_SERVER"], "-d", "dummy",
                                 "-r", "48000", "-p", "512"])
        time.sleep(1)

        panels = {}
        # Right after the drag the pointer rests on the knob, which shows its value.
        for name, gain_h, readout in (("default", 0.5, []), ("dragged", GAIN_H_DRAGGED, []),
                                      ("touched", GAIN_H_DRAGGED, ["--readout", "GainH"])):
            path = os.path.join(work, name + ".png")
            subprocess.run([render, "--plugin", bundle, "--set", "GainH=%.17g" % gain_h, "--panel", path, *readout],
                           check=True, capture_output=True)
            panels[name] = png_rgb(path)
        width = panels["default"][1]

        session_file = os.path.join(work, "keldra.qtr")
        with open(session_file, "w") as session:
            session.write(SESSION.format(folder=work, type=plugin_type, plugin=plugin))

        qtractor = QtractorRun(programs, screen, standin, session_file)
        check(qtractor.main is not None, "Qtractor opens the session")
        if qtractor.main is None:
            print("windows: %s" % [w.title for w in screen.windows()])
            return 1
        editor = qtractor.open_editor()
        check(editor is not None, "Qtractor opens KELDRA's editor from the mixer")
        if editor is None:
            return 1
        check(await_pixels(screen, editor, panels["default"][0], width) is None,
              "the editor shows the panel of the default settings")

        screen.drag(editor.x + GAIN_H_KNOB[0], editor.y + GAIN_H_KNOB[1], DRAG)
        check(await_pixels(screen, editor, panels["touched"][0], width) is None,
              "the editor shows GainH turned by the drag, and its value")
        saved = qtractor.save(session_file)
        gain_h = param_value(saved, "GainH")
        print("saved GainH: %s" % gain_h)
        check(gain_h is not None and abs(gain_h - GAIN_H_DRAGGED) < 1e-5,
              "the drag reached Qtractor, which saves GainH's new value")
        check(re.search(r'<config [^>]*key="[^"]*state', saved) is not None,
              "the saved session holds KELDRA's state")
        qtractor.stop()

        qtractor = QtractorRun(programs, screen, standin, session_file)
        if qtractor.main is not None:
            # Restoring KELDRA's state must not count as a change of the session.
            time.sleep(2)
            check(not qtractor.press_save(session_file, 4), "the reopened session is not marked modified")
        editor = qtractor.open_editor() if qtractor.main is not None else None
        check(editor is not None, "the saved session reopens with KELDRA's editor")
        if editor is not None:
            check(await_pixels(screen, editor, panels["dragged"][0], width) is None,
                  "the reopened editor shows GainH where the drag left it")
        qtractor.stop()
    finally:
        programs.stop_all()
        if failures:
            print("logs kept in " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
