# The manual's settings for Sphinx: Spanish, readable without a network (no web fonts, no
# scripts from elsewhere; equations written in Unicode), and strict about references.
import doctest
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "_ext"))

project = "zelk"
author = "El equipo de zelk"
copyright = "El equipo de zelk; GPL-3.0-or-later"
# CMake passes the project's version with -D version=... -D release=...
version = release = "1.2"
language = "es"
# The docstrings are also read by help(): their quotes are Python's, and stay as written.
smartquotes = False
today_fmt = "%Y"

extensions = [
    "sphinx.ext.autodoc",
    "sphinx.ext.doctest",
    "zelk_manual",
]
# Where zelk-calc is, for the examples that run it: CMake passes -D zelk_calc=...
zelk_calc = ""

# Every reference must lead somewhere.
nitpicky = True
# Names that Python's and pandas' own documentation define; this manual is offline and links
# none of them.
nitpick_ignore_regex = [
    ("py:class", r"(numpy|pandas|np|pd|npt|typing|os)\..*"),
    ("py:class", r"(float|int|str|bool|bytes|dict|tuple|list|None|object|Any|Optional|Union)"),
    ("py:exc", r"(ValueError|TypeError|KeyboardInterrupt|OSError|FileNotFoundError)"),
]

autodoc_member_order = "bysource"
autodoc_typehints = "none"
autodoc_default_options = {"undoc-members": False}
# Each page's examples run in a folder of their own, with the case of tests/psse where the
# examples name it, as in a clone of the repository; the files they write stay there.
doctest_global_setup = f"""
import os, shutil, tempfile
import numpy as np
import pandas as pd
import zelk
pd.set_option("display.width", 100)
_antes = os.getcwd()
_trabajo = tempfile.mkdtemp(prefix="zelk-manual-")
os.makedirs(os.path.join(_trabajo, "tests", "psse"))
shutil.copy({os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "psse",
                          "kundur_v33.raw")!r}, os.path.join(_trabajo, "tests", "psse"))
os.chdir(_trabajo)
"""
doctest_global_cleanup = """
os.chdir(_antes)
shutil.rmtree(_trabajo, ignore_errors=True)
"""
# Tables are compared whatever their blanks (a page keeps no trailing ones); an exception's
# message is compared whole.
doctest_default_flags = (doctest.ELLIPSIS | doctest.DONT_ACCEPT_TRUE_FOR_1
                         | doctest.NORMALIZE_WHITESPACE)
trim_doctest_flags = True

html_theme = "alabaster"
html_theme_options = {
    "description": "Régimen permanente de un enlace HVDC monopolar",
    "fixed_sidebar": False,
    "show_powered_by": False,
    "font_family": "'DejaVu Sans', 'Liberation Sans', Arial, sans-serif",
    "head_font_family": "'DejaVu Sans', 'Liberation Sans', Arial, sans-serif",
    "code_font_family": "'DejaVu Sans Mono', 'Liberation Mono', monospace",
}
html_title = f"Manual de zelk {release}"
html_short_title = "Manual de zelk"
html_copy_source = False
html_show_sourcelink = False
html_last_updated_fmt = None
html_sidebars = {"**": ["about.html", "navigation.html", "searchbox.html"]}
