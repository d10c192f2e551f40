#!/usr/bin/env python3
"""The set-up's install step (tools/setup-packages) against a stand-in
apt-get that fails as a package registry out of step, or no network, does.

Each case starts from nothing installed, runs the step with stand-ins for
apt-get, dpkg-query and sudo first on PATH, and checks what it said, what it
asked apt-get for and what ended up installed."""
import os
import subprocess
import sys
import tempfile
import textwrap

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
STEP = os.path.join(ROOT, "tools", "setup-packages")
PACKAGES = ["cmake", "wine", "wine32:i386", "xvfb"]

# Modes: what the stand-in registry does.
#   partial-update  update exits 100 for one index; installs work
#   needs-target    install resolves only with -t <release>
#   no-wine32       wine32:i386 never installs; the rest does
#   offline         nothing downloads
APT_GET = textwrap.dedent(r"""
    #!/bin/sh
    echo "apt-get $*" >>"$FAKE_DIR/calls"
    case "$1" in
    update)
      echo "E: Failed to fetch http://deb.example/dists/rel-security/main/binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?"
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
      [ "$FAKE_MODE" = offline ] && echo "E: Failed to fetch http://deb.example/dists/rel/InRelease  Temporary failure resolving"
      exit 100 ;;
    install) ;;
    *) exit 1 ;;
    esac
    shift
    target=
    pkgs=
    while [ $# -gt 0 ]; do
      case "$1" in
      -t) target="$2"; shift ;;
      -*) ;;
      *) pkgs="$pkgs $1" ;;
      esac
      shift
    done
    case "$FAKE_MODE" in
    offline) echo "E: Unable to fetch some archives"; exit 100 ;;
    needs-target) [ "$target" = testrelease ] || { echo "E: Unable to correct problems, you have held broken packages."; exit 100; } ;;
    no-wine32) case "$pkgs" in *wine32:i386*) echo "E: Unable to correct problems"; exit 100 ;; esac ;;
    esac
    for p in $pkgs; do echo "$p" >>"$FAKE_DIR/installed"; done
""").lstrip()

DPKG_QUERY = textwrap.dedent(r"""
    #!/bin/sh
    for last; do :; done
    grep -qx "$last" "$FAKE_DIR/installed" 2>/dev/null || exit 1
    echo "install ok installed"
""").lstrip()

SUDO = '#!/bin/sh\nexec "$@"\n'


def run(mode):
    work = tempfile.mkdtemp(prefix="setup-packages-")
    bin_dir = os.path.join(work, "bin")
    os.mkdir(bin_dir)
    for name, text in (("apt-get", APT_GET), ("dpkg-query", DPKG_QUERY), ("sudo", SUDO)):
        path = os.path.join(bin_dir, name)
        with open(path, "w") as f:
            f.write(text)
        os.chmod(path, 0o755)
    os_release = os.path.join(work, "os-release")
    with open(os_release, "w") as f:
        f.write('ID=debian\nVERSION_CODENAME=testrelease\n')
    open(os.path.join(work, "installed"), "w").close()
    env = dict(os.environ, PATH=bin_dir + ":" + os.environ["PATH"], FAKE_DIR=work,
               FAKE_MODE=mode, KELTRIM_OS_RELEASE=os_release)
    done = subprocess.run([STEP, work] + PACKAGES, env=env, capture_output=True, text=True,
                          timeout=60)
    out = done.stdout + done.stderr
    with open(os.path.join(work, "calls")) as f:
        calls = f.read().splitlines()
    with open(os.path.join(work, "installed")) as f:
        installed = set(f.read().split())
    again = subprocess.run([STEP, work] + PACKAGES, env=env, capture_output=True, text=True,
                           timeout=60)
    return done.returncode, out, calls, installed, again.returncode, again.stdout


failures = []


def check(case, ok, what, out):
    if not ok:
        failures.append(f"{case}: {what}\n--- output ---\n{out}")


code, out, calls, installed, again, again_out = run("partial-update")
check("partial-update", code == 0 and installed == set(PACKAGES), "everything installs", out)
check("partial-update", "binary-i386/Packages.xz" in out and "going on" in out,
      "the failed index is named", out)

code, out, calls, installed, again, again_out = run("needs-target")
check("needs-target", code == 0 and installed == set(PACKAGES), "everything installs", out)
check("needs-target", any("-t testrelease" in c for c in calls),
      "the retry targets the release named in os-release", "\n".join(calls))
check("needs-target", 'release "testrelease" as the target' in out, "the retry is reported", out)

code, out, calls, installed, again, again_out = run("no-wine32")
check("no-wine32", code == 0 and installed == set(PACKAGES) - {"wine32:i386"},
      "all but wine32 installs and the step succeeds", out)
check("no-wine32", sum("x86_64" in line for line in out.splitlines()) == 1,
      "one line says the tests run as x86_64", out)
check("no-wine32", again == 0 and again_out == "",
      "a second run does not ask the registry again", again_out)

code, out, calls, installed, again, again_out = run("offline")
check("offline", code != 0, "the step fails", out)
check("offline", "could not be installed: cmake wine wine32:i386 xvfb" in out,
      "the message names every required package missing", out)

if failures:
    print("\n\n".join(failures))
    sys.exit(1)
print("setup-packages: 4 registry failures handled")
