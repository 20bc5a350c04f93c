"""The floor check refuses an include that runs up a floor, naming the
file, the line and the floors, and passes the same tree once it is gone."""
import os
import shutil
import subprocess
import sys
import tempfile

check, fixture = sys.argv[1], sys.argv[2]
run = subprocess.run([sys.executable, check, fixture], capture_output=True, text=True)
expected = 'base/text.h:4: includes "shell/window.h": shell is on a higher floor than base'
if run.returncode != 1 or expected not in run.stdout:
    sys.exit(f'the check did not refuse the upward include (exit {run.returncode}):\n{run.stdout}{run.stderr}')

with tempfile.TemporaryDirectory() as tree:
    src = os.path.join(tree, 'src')
    shutil.copytree(fixture, src)
    with open(os.path.join(src, 'base', 'text.h'), 'w') as f:
        f.write('#pragma once\n')
    run = subprocess.run([sys.executable, check, src], capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f'the check refused a tree whose floors hold:\n{run.stdout}{run.stderr}')
print('refused:', expected)
