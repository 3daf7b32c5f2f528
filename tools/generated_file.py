"""The command line both table generators share.

    tools/gen_<name>.py [--check] [output path]

Without --check the generated text is written to the output path (default: the committed file). With
--check it is generated to a temporary file and compared with the output path instead; the exit status
is 1 when they differ, so CI notices a table edited by hand or a script changed without regenerating.
"""

import filecmp
import pathlib
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent


def write_or_check(default_path, generate):
    """Runs the command line for a generator whose committed output is `default_path` (relative to the
    repository root); `generate` returns the whole file's text."""
    args = sys.argv[1:]
    check = "--check" in args
    args = [a for a in args if a != "--check"]
    if len(args) > 1 or any(a.startswith("-") for a in args):
        sys.exit(f"usage: {pathlib.Path(sys.argv[0]).name} [--check] [output path]")
    target = pathlib.Path(args[0]) if args else ROOT / default_path
    text = generate()
    if not check:
        target.write_text(text)
        return
    with tempfile.TemporaryDirectory() as folder:
        fresh = pathlib.Path(folder) / target.name
        fresh.write_text(text)
        if not target.is_file() or not filecmp.cmp(fresh, target, shallow=False):
            print(f"{target}: differs from what {pathlib.Path(sys.argv[0]).name} generates", file=sys.stderr)
            sys.exit(1)
