#!/usr/bin/env python3
"""Puts the page together: one self-contained HTML file with the style, the
core (its WebAssembly inlined) and the shell in it, and the same page as a
folder for a web server."""
import base64
import hashlib
import json
import pathlib
import shutil
import sys


def inline_script(source: str) -> str:
    # Nothing inside a classic script may close it early.
    return "<script>\n" + source.replace("</script", "<\\/script") + "\n</script>"


# The page's own colours: the window's grey and its title bars' blue.
BACKGROUND = "#d4d0c8"
THEME = "#0a246a"

# What the served page adds to the single file's: the manifest, its colour
# and the worker, which the single file has no server for.
INSTALL = ('<link rel="manifest" href="manifest.webmanifest">\n'
           '<meta name="theme-color" content="' + THEME + '">\n'
           '<script src="install.js" defer></script>')
# The served page also loads the manifest, its icon and the worker from its
# own folder.
# The orbit diagram's worker starts from a blob of script the page carries.
CSP_END = "img-src data:; connect-src data:; worker-src blob:"
SERVED_CSP_END = ("img-src data: 'self'; connect-src data:; manifest-src 'self'; "
                  "worker-src 'self' blob:")


def manifest() -> str:
    # No SVG rasteriser comes with the page's build, so the scalable icon
    # stands for every size.
    return json.dumps({
        "name": "Veridrift",
        "short_name": "Veridrift",
        "description": "Degrees of truth of self-referential sentences, iterated and drawn.",
        "start_url": ".",
        "scope": ".",
        "display": "standalone",
        "background_color": BACKGROUND,
        "theme_color": THEME,
        "icons": [{"src": "icon.svg", "sizes": "any", "type": "image/svg+xml", "purpose": "any"}],
    }, indent=2) + "\n"


def write_worker(here: pathlib.Path, site: pathlib.Path) -> None:
    files = sorted(p.name for p in site.iterdir())
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b"\0" + (site / name).read_bytes())
    worker = ((here / "sw.js").read_text()
              .replace("@CACHE@", digest.hexdigest()[:16])
              .replace("@FILES@", json.dumps(["./"] + files)))
    (site / "sw.js").write_text(worker)


def main() -> int:
    if len(sys.argv) != 3:
        print("usage: assemble.py CORE_JS OUTPUT_DIR", file=sys.stderr)
        return 2
    core_js = pathlib.Path(sys.argv[1])
    out = pathlib.Path(sys.argv[2])
    here = pathlib.Path(__file__).resolve().parent
    template = (here / "index.html").read_text()
    style = (here / "page.css").read_text()
    # The Save Diagrams dialog, the orbit panel and its worker's script ride
    # in the shell's file.
    shell = "".join((here / name).read_text()
                    for name in ("page.js", "save_dialog.js", "orbit_worker.js", "orbit_panel.js"))
    core = core_js.read_text()
    # The desktop's scalable icon: the tab's icon and the About box's.
    icon = here.parent / "desktop/integration/org.veridrift.Veridrift.svg"
    template = template.replace(
        "<!--ICON-->", '<link rel="icon" type="image/svg+xml" href="data:image/svg+xml;base64,'
        + base64.b64encode(icon.read_bytes()).decode() + '">')

    if template.count(CSP_END) != 1:
        print("assemble.py: the page's Content-Security-Policy has changed", file=sys.stderr)
        return 1

    out.mkdir(parents=True, exist_ok=True)
    single = (template.replace("<!--INSTALL-->\n", "").replace("<!--STYLE-->", "<style>\n" + style + "</style>")
              .replace("<!--CORE-->", inline_script(core))
              .replace("<!--PAGE-->", inline_script(shell)))
    (out / "veridrift.html").write_text(single)

    site = out / "site"
    if site.exists():
        shutil.rmtree(site)
    site.mkdir()
    (site / "index.html").write_text(
        template.replace(CSP_END, SERVED_CSP_END).replace("<!--INSTALL-->", INSTALL)
        .replace("<!--STYLE-->", '<link rel="stylesheet" href="page.css">')
        .replace("<!--CORE-->", '<script src="veridrift-core.js"></script>')
        .replace("<!--PAGE-->", '<script src="page.js"></script>'))
    shutil.copy(here / "page.css", site / "page.css")
    (site / "page.js").write_text(shell)
    shutil.copy(core_js, site / "veridrift-core.js")
    shutil.copy(here / "install.js", site / "install.js")
    shutil.copy(icon, site / "icon.svg")
    (site / "manifest.webmanifest").write_text(manifest())
    write_worker(here, site)
    return 0


if __name__ == "__main__":
    sys.exit(main())
