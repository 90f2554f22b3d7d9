#!/usr/bin/env python3
"""Puts the page together: one self-contained HTML file with the style, the
core (its WebAssembly inlined) and the shell in it, and the same page as a
folder for a web server."""
import base64
import pathlib
import shutil
import sys


def inline_script(source: str) -> str:
    # Nothing inside a classic script may close it early.
    return "<script>\n" + source.replace("</script", "<\\/script") + "\n</script>"


def main() -> int:
    if len(sys.argv) != 3:
        print("usage: assemble.py CORE_JS OUTPUT_DIR", file=sys.stderr)
        return 2
    core_js = pathlib.Path(sys.argv[1])
    out = pathlib.Path(sys.argv[2])
    here = pathlib.Path(__file__).resolve().parent
    template = (here / "index.html").read_text()
    style = (here / "page.css").read_text()
    shell = (here / "page.js").read_text()
    core = core_js.read_text()
    # The desktop's scalable icon: the tab's icon and the About box's.
    icon = here.parent / "desktop/integration/org.veridrift.Veridrift.svg"
    template = template.replace(
        "<!--ICON-->", '<link rel="icon" type="image/svg+xml" href="data:image/svg+xml;base64,'
        + base64.b64encode(icon.read_bytes()).decode() + '">')

    out.mkdir(parents=True, exist_ok=True)
    single = (template.replace("<!--STYLE-->", "<style>\n" + style + "</style>")
              .replace("<!--CORE-->", inline_script(core))
              .replace("<!--PAGE-->", inline_script(shell)))
    (out / "veridrift.html").write_text(single)

    site = out / "site"
    if site.exists():
        shutil.rmtree(site)
    site.mkdir()
    (site / "index.html").write_text(
        template.replace("<!--STYLE-->", '<link rel="stylesheet" href="page.css">')
        .replace("<!--CORE-->", '<script src="veridrift-core.js"></script>')
        .replace("<!--PAGE-->", '<script src="page.js"></script>'))
    shutil.copy(here / "page.css", site / "page.css")
    shutil.copy(here / "page.js", site / "page.js")
    shutil.copy(core_js, site / "veridrift-core.js")
    return 0


if __name__ == "__main__":
    sys.exit(main())
