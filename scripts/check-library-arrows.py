#!/usr/bin/env python3
"""Lists every include of a src/ file that breaks the library layering:
- a quoted include of a header owned by a library its own library does not link directly;
- a Qt header whose module its library does not link directly;
- a Core library (no _ui suffix; dv_app is UI) that links or includes Gui, Widgets or
  PrintSupport, or includes a UI library's header;
- an include that points up a layer (core <- platform <- subsystems <- app).
Which file belongs to which library comes from CMake's file API, so the answer matches
the build. Usage: scripts/check-library-arrows.py [BUILD_DIR]   (exit 1 on findings)
"""
import glob, json, os, re, subprocess, sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else '/tmp/dv-arrows-build')
query = os.path.join(build, '.cmake/api/v1/query/codemodel-v2')
os.makedirs(os.path.dirname(query), exist_ok=True)
open(query, 'a').close()
subprocess.run(['cmake', '-S', root, '-B', build, '-G', 'Ninja'], check=True, stdout=subprocess.DEVNULL)
reply = os.path.join(build, '.cmake/api/v1/reply/')
index = max(glob.glob(reply + 'codemodel-v2-*.json'), key=os.path.getmtime)

owner, files = {}, {}
for t in json.load(open(index))['configurations'][0]['targets']:
    tj = json.load(open(reply + t['jsonFile']))
    if tj['name'].startswith('dv_') and tj['type'] == 'STATIC_LIBRARY':
        for s in tj['sources']:
            if s['path'].startswith('src/'):
                owner[s['path'][4:]] = tj['name']
                files.setdefault(tj['name'], []).append(s['path'][4:])

links = {}
for cml in glob.glob(root + '/src/**/CMakeLists.txt', recursive=True):
    text = re.sub(r'#.*', '', open(cml).read())
    for m in re.finditer(r'target_link_libraries\(\s*(\S+)([^)]*)\)', text):
        links.setdefault(m.group(1), set()).update(m.group(2).split())

qt_dir = '/usr/include/x86_64-linux-gnu/qt6'
qt_modules = [d[2:] for d in os.listdir(qt_dir) if d.startswith('Qt')]
def qt_module(header):
    return next((m for m in qt_modules if os.path.exists(f'{qt_dir}/Qt{m}/{header}')), None)

layer = {'core': 0, 'platform': 1, 'components': 2, 'fileops': 2, 'viewers': 2, 'zip': 2, 'tools': 2, 'app': 3}
widget_modules = {'Gui', 'Widgets', 'PrintSupport'}
findings = []
for lib, names in sorted(files.items()):
    linked = links.get(lib, set())
    core = not lib.endswith('_ui') and lib != 'dv_app'
    if core and {f'Qt6::{m}' for m in widget_modules} & linked:
        findings.append(f'{lib}: a Core library links widget modules')
    for f in names:
        text = open(f'{root}/src/{f}', errors='replace').read()
        for quote, name in re.findall(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', text, re.M):
            if quote == '"':
                lib2 = owner.get(name) or owner.get(os.path.normpath(os.path.join(os.path.dirname(f), name)))
                if lib2 is None:
                    continue   # generated (.moc) or from libs/
                home = next(k for k, v in owner.items() if v == lib2)
                if lib2 != lib and lib2 not in linked:
                    findings.append(f'{f} ({lib}): includes {name} of {lib2}, not linked')
                if core and (lib2.endswith('_ui') or lib2 == 'dv_app'):
                    findings.append(f'{f} ({lib}): Core file includes UI header {name}')
                if layer[home.split('/')[0]] > layer[f.split('/')[0]]:
                    findings.append(f'{f}: includes upward {name}')
            elif name.startswith('Q'):
                m = qt_module(name)
                if m and m != 'Core' and f'Qt6::{m}' not in linked:
                    findings.append(f'{f} ({lib}): <{name}> of Qt{m}, not linked')
                if m in widget_modules and core:
                    findings.append(f'{f} ({lib}): Core file includes <{name}>')
print('\n'.join(findings))
print(f'{len(owner)} files in {len(files)} libraries, {len(findings)} findings')
sys.exit(1 if findings else 0)
