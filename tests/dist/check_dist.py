#!/usr/bin/python3
"""The release package: builds it with cmake/MakeDist.cmake from the shipped
game, checks what the zip holds and what its executable says about itself,
then unpacks a package into an empty folder and starts its game there under
Wine. Where Wine cannot run the shipped i686 game, an equivalent package is
made from this tree's game for the start.
  check_dist.py --shipped EXE --runnable EXE --source DIR --work DIR --cmake CMAKE"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

import game_start
import pe_file

FOLDER = "Keltrim Solitaire"
# The game may import only Windows' known DLLs (KnownDLLs from Vista to 11),
# which the loader never looks for in the program's folder; every other
# library it loads at run time from the system folder.
KNOWN_DLLS = {"advapi32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "user32.dll"}
# Windows' published compatibility ids: Vista, 7, 8, 8.1, 10 and 11.
SUPPORTED_OS = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
ASM_V1, ASM_V3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def make_package(cmake, source, exe, out, suffix=""):
    os.makedirs(out, exist_ok=True)
    subprocess.run([cmake, "-DEXE=" + exe, "-DOUT=" + out, "-DSUFFIX=" + suffix, "-P",
                    os.path.join(source, "cmake", "MakeDist.cmake")], check=True,
                   stdout=subprocess.DEVNULL)
    version = re.search(r'KELTRIM_VERSION_TEXT "([^"]+)"',
                        open(os.path.join(source, "resources", "version.h")).read()).group(1)
    return os.path.join(out, "keltrim-solitaire-%s%s.zip" % (version, suffix)), version


def check_text(raw, original, name):
    if b"\n" in raw.replace(b"\r\n", b""):
        fail(name + " has a line end without carriage return")
    if raw.replace(b"\r\n", b"\n") != original.replace(b"\r\n", b"\n"):
        fail(name + " differs from the repository's file")


def check_contents(zip_path, exe, source):
    """Returns the executable's name in the package."""
    with zipfile.ZipFile(zip_path) as z:
        files = sorted(n for n in z.namelist() if not n.endswith("/"))
        texts = [FOLDER + "/LICENSE.txt", FOLDER + "/README.txt"]
        programs = [n for n in files if n.lower().endswith(".exe")]
        if len(programs) != 1 or sorted(set(files) - set(programs)) != texts:
            fail("the package holds %s" % files)
        if z.read(programs[0]) != open(exe, "rb").read():
            fail(programs[0] + " is not the built game")
        readme = z.read(texts[1])
        check_text(readme, open(os.path.join(source, "README.md"), "rb").read(), "README.txt")
        licence = z.read(texts[0])
        check_text(licence, open(os.path.join(source, "LICENSE"), "rb").read(), "LICENSE.txt")
        if not (licence.startswith(b"MIT License") and
                b"Copyright (c) the Keltrim Solitaire developers" in licence):
            fail("LICENSE.txt is not the MIT licence of the Keltrim Solitaire developers")
        return programs[0].split("/", 1)[1]


def check_manifest(xml):
    root = ET.fromstring(xml)
    deps = [a.attrib for a in root.iter(ASM_V1 + "assemblyIdentity")
            if a.attrib.get("name") == "Microsoft.Windows.Common-Controls"]
    if not deps or deps[0].get("version") != "6.0.0.0" or \
            deps[0].get("publicKeyToken") != "6595b64144ccf1df":
        fail("the manifest asks for no common controls 6")
    levels = [e.get("level") for e in root.iter(ASM_V3 + "requestedExecutionLevel")]
    if levels != ["asInvoker"]:
        fail("the manifest's execution level is %s" % levels)
    oses = {e.get("Id") for e in root.iter(COMPAT + "supportedOS")}
    if oses != SUPPORTED_OS:
        fail("the manifest's supported systems are %s" % sorted(oses))
    if any(e.tag.endswith("dpiAware") or e.tag.endswith("dpiAwareness") for e in root.iter()):
        fail("the manifest sets a DPI awareness")


def check_executable(exe, name, machine, version):
    pe = pe_file.PeFile(open(exe, "rb").read())
    if pe.machine != machine:
        fail("%s is built for machine %#x, not %#x" % (name, pe.machine, machine))
    if pe.subsystem != 2:
        fail(name + " is not a GUI program")
    foreign = [d for d in pe.imported_dlls() if d.lower() not in KNOWN_DLLS]
    if foreign:
        fail("%s imports DLLs that are not known DLLs: %s" % (name, foreign))
    resources = pe.resources()
    if (pe_file.RT_MANIFEST, 1) not in resources:
        fail(name + " has no manifest")
    check_manifest(resources[(pe_file.RT_MANIFEST, 1)])
    if (pe_file.RT_VERSION, 1) not in resources:
        fail(name + " has no version resource")
    file_version, product_version, strings = pe_file.read_version(resources[(pe_file.RT_VERSION, 1)])
    expected = {"ProductName": "Keltrim Solitaire", "CompanyName": "Darnwick",
                "FileVersion": version, "ProductVersion": version, "OriginalFilename": name}
    for key, value in expected.items():
        if strings.get(key) != value:
            fail("version resource %s is %r, not %r" % (key, strings.get(key), value))
    if not strings.get("FileDescription"):
        fail("the version resource has no file description")
    if file_version != version + ".0" or product_version != version + ".0":
        fail("fixed versions %s / %s do not match %s" % (file_version, product_version, version))


def start_from_empty_folder(zip_path, wine_run, shot):
    folder = tempfile.mkdtemp(prefix="keltrim-dist-")
    try:
        with zipfile.ZipFile(zip_path) as z:
            z.extractall(folder)
            exe = [n for n in z.namelist() if n.lower().endswith(".exe")][0]
        return game_start.run(os.path.join(folder, exe), wine_run, shot)
    except game_start.Failure as e:
        fail("%s (screenshot %s)" % (e, shot))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    for option in ("--shipped", "--runnable", "--source", "--work", "--cmake"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    wine_run = os.path.join(args.source, "tools", "wine-run")
    shipped_zip, version = make_package(args.cmake, args.source, args.shipped, args.work)
    name = check_contents(shipped_zip, args.shipped, args.source)
    check_executable(args.shipped, name, pe_file.MACHINE_I386, version)
    print("shipped package %s: %s, README.txt, LICENSE.txt; i686, version %s, manifest ok"
          % (os.path.basename(shipped_zip), name, version))
    if os.path.samefile(args.shipped, args.runnable):
        started = shipped_zip
        print("starting the shipped package's game")
    else:
        started, _ = make_package(args.cmake, args.source, args.runnable, args.work, "-x86_64")
        check_contents(started, args.runnable, args.source)
        check_executable(args.runnable, name, pe_file.MACHINE_AMD64, version)
        print("Wine here runs no 32-bit program: starting the game of an equivalent x86_64 "
              "package, " + os.path.basename(started))
    print(start_from_empty_folder(started, wine_run, os.path.join(args.work, "dealt-table.png")))


if __name__ == "__main__":
    main()
