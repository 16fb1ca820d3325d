// Cross-compiles every source of the add-on and of the stand-in for Windows
// x86-64 with MinGW-w64 (Debian: g++-mingw-w64-x86-64), links the stand-in
// engine DLL, the add-on and the control module, and checks the results with
// objdump: PE DLLs that export what Node and the add-on look up.
//   node scripts/cross-win.js [--clean]   (npm run cross:win), output in build-win/
// Node-API comes from the node-api-headers package (headers and the .def of
// node.exe's exports); libuv's header and the uv_* imports from the running
// Node's own include/node. Warnings are errors, as in CI's native build.
// What this cannot show is in the README (building against the real engine).
'use strict';
const fs = require('fs');
const path = require('path');
const { spawn, execFileSync } = require('child_process');
const { sources } = require('./sources');

const root = path.resolve(__dirname, '..');
const out = path.join(root, 'build-win');
const TRIPLE = 'x86_64-w64-mingw32';
const cxx = `${TRIPLE}-g++-posix`;  // the posix thread model: std::thread and std::mutex

function tool(name) {
  try {
    execFileSync('sh', ['-c', `command -v ${name}`], { stdio: 'ignore' });
    return name;
  } catch {
    console.error(`${name} was not found. On Debian or Ubuntu: apt-get install g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64`);
    process.exit(1);
  }
}
tool(cxx);
const objdump = tool(`${TRIPLE}-objdump`);
const dlltool = tool(`${TRIPLE}-dlltool`);
const nm = tool(`${TRIPLE}-nm`);

const napiHeaders = path.dirname(require.resolve('node-api-headers/package.json', { paths: [root] }));
const addonApi = require(require.resolve('node-addon-api', { paths: [root] })).include_dir;
const nodeInclude = path.join(process.env.npm_config_nodedir || path.resolve(path.dirname(process.execPath), '..'), 'include', 'node');

const common = [
  // node-gyp's flags for the native build (common.gypi), as errors.
  '-std=c++17', '-O2', '-Wall', '-Wextra', '-Wno-unused-parameter', '-Werror', '-fno-exceptions', '-fno-rtti',
  '-DNAPI_VERSION=8', '-DNAPI_DISABLE_CPP_EXCEPTIONS', '-DNODE_ADDON_API_DISABLE_DEPRECATED',
  '-DNODE_API_NO_EXTERNAL_BUFFERS_ALLOWED', '-DNODE_API_SWALLOW_UNTHROWABLE_EXCEPTIONS', '-DBUILDING_NODE_EXTENSION',
  '-DNOMINMAX', '-DWIN32_LEAN_AND_MEAN', '-DUNICODE', '-D_UNICODE', '-D_WIN32_WINNT=0x0A00',
];
// Node-API first, so that node_api.h is node-api-headers' own; uv.h after it.
const nodeIncludes = [`-I${path.join(napiHeaders, 'include')}`, `-I${addonApi}`, `-idirafter${nodeInclude}`];
// Self-contained: no MinGW runtime DLLs beside the modules.
const staticRuntime = ['-static'];

const units = {
  engine: { dir: 'standin/src', flags: ['-DLIVE_ENGINE_SHARED_IMPLEMENTATION', '-Istandin/include', '-Istandin/src'] },
  addon: { dir: 'src', flags: [...nodeIncludes, '-Isrc', '-Istandin/include'] },
  sim: { dir: 'standin/control', flags: [...nodeIncludes, '-Istandin/include', '-Istandin/src'] },
};

function exec(cmd, argv) {
  return new Promise((resolve, reject) => {
    const child = spawn(cmd, argv, { cwd: root, stdio: ['ignore', 'inherit', 'pipe'] });
    let stderr = '';
    child.stderr.on('data', (d) => (stderr += d));
    child.on('close', (code) => (code === 0 ? resolve(stderr) : reject(new Error(`${cmd} ${argv.slice(-3).join(' ')}\n${stderr}`))));
  });
}

// An object newer than its source and than every header is kept.
function newestHeader(dir, newest = 0) {
  for (const e of fs.readdirSync(dir, { withFileTypes: true })) {
    const p = path.join(dir, e.name);
    if (e.isDirectory()) newest = newestHeader(p, newest);
    else if (/\.h$/.test(e.name)) newest = Math.max(newest, fs.statSync(p).mtimeMs);
  }
  return newest;
}

async function compileAll() {
  const headers = Math.max(newestHeader(path.join(root, 'src')), newestHeader(path.join(root, 'standin')));
  const fresh = (job) => fs.existsSync(job.obj) &&
    fs.statSync(job.obj).mtimeMs > Math.max(headers, fs.statSync(path.join(root, job.src)).mtimeMs);
  const jobs = [];
  for (const [name, unit] of Object.entries(units)) {
    for (const src of sources(path.join(root, unit.dir), 'win')) {
      const rel = path.relative(root, src);
      const obj = path.join(out, 'obj', name, rel.replace(/\.(cc|cpp)$/, '.o'));
      jobs.push({ name, src: rel, obj, argv: [...common, ...unit.flags, '-c', rel, '-o', obj] });
    }
  }
  let next = 0;
  const worker = async () => {
    while (next < jobs.length) {
      const job = jobs[next++];
      if (fresh(job)) continue;
      fs.mkdirSync(path.dirname(job.obj), { recursive: true });
      await exec(cxx, job.argv);
    }
  };
  await Promise.all([worker(), worker()]);
  return jobs;
}

// Node's executable exports Node-API and libuv: import libraries naming it.
function importLibraries(objects) {
  const napi = path.join(out, 'libnode_api.a');
  execFileSync(dlltool, ['-d', path.join(napiHeaders, 'def', 'node_api.def'), '-l', napi, '-D', 'node.exe']);
  const undefinedUv = new Set();
  for (const o of objects) {
    for (const line of execFileSync(nm, ['-u', o], { encoding: 'utf8' }).split('\n')) {
      const sym = line.trim().split(/\s+/).pop();
      if (/^uv_\w+$/.test(sym)) undefinedUv.add(sym);
    }
  }
  const def = path.join(out, 'node_uv.def');
  fs.writeFileSync(def, `LIBRARY node.exe\nEXPORTS\n${[...undefinedUv].sort().join('\n')}\n`);
  const uv = path.join(out, 'libnode_uv.a');
  execFileSync(dlltool, ['-d', def, '-l', uv, '-D', 'node.exe']);
  return [napi, uv, [...undefinedUv].sort()];
}

function inspect(file) {
  const text = execFileSync(objdump, ['-p', file], { encoding: 'utf8', maxBuffer: 256 << 20 });
  const format = /file format (\S+)/.exec(text)[1];
  const dll = /Characteristics [^\n]*\n(?:\s+[^\n]+\n)*?\s+DLL\b/.test(text) || /\bDLL\b/.test(text.split('\n').slice(0, 20).join('\n'));
  const exportsPart = (text.split('[Ordinal/Name Pointer] Table')[1] || '').split(/\n\s*\n/)[0];
  const exported = [...exportsPart.matchAll(/\]\s+(\S+)\s*$/gm)].map((m) => m[1]);
  const imports = [...new Set([...text.matchAll(/DLL Name: (\S+)/g)].map((m) => m[1]))];
  return { format, dll, exported, imports, bytes: fs.statSync(file).size };
}

async function main() {
  const started = Date.now();
  if (process.argv.includes('--clean')) fs.rmSync(out, { recursive: true, force: true });
  fs.mkdirSync(out, { recursive: true });
  const jobs = await compileAll();
  const objs = (name) => jobs.filter((j) => j.name === name).map((j) => j.obj);
  const [napi, uv, uvSymbols] = importLibraries([...objs('addon'), ...objs('sim')]);

  const engine = path.join(out, 'live_engine_shared.dll');
  const engineLib = path.join(out, 'liblive_engine_shared.dll.a');
  await exec(cxx, ['-shared', '-o', engine, ...objs('engine'), `-Wl,--out-implib,${engineLib}`, ...staticRuntime]);
  const addon = path.join(out, 'lumen_engine_addon.node');
  await exec(cxx, ['-shared', '-o', addon, ...objs('addon'), engineLib, napi, uv, '-ladvapi32', '-lshell32', ...staticRuntime]);
  const sim = path.join(out, 'lumen_engine_sim.node');
  await exec(cxx, ['-shared', '-o', sim, ...objs('sim'), engineLib, napi, uv, ...staticRuntime]);

  const report = {
    sources: Object.fromEntries(Object.keys(units).map((n) => [n, objs(n).length])),
    uvImports: uvSymbols,
    modules: { engine: inspect(engine), addon: inspect(addon), sim: inspect(sim) },
  };
  const problems = [];
  for (const [name, m] of Object.entries(report.modules)) {
    if (m.format !== 'pei-x86-64') problems.push(`${name}: file format ${m.format}, not pei-x86-64`);
    if (!m.dll) problems.push(`${name}: not a DLL`);
    const unexpected = m.imports.filter((d) => !/^(KERNEL32|ADVAPI32|SHELL32|msvcrt|api-ms-win-crt-[\w-]+|node|live_engine_shared)\.(dll|exe)$/i.test(d));
    if (unexpected.length) problems.push(`${name}: imports ${unexpected.join(', ')}`);
  }
  const { addon: a, sim: s, engine: e } = report.modules;
  for (const sym of ['napi_register_module_v1', '_register_lumen_engine_addon_']) {
    if (!a.exported.includes(sym)) problems.push(`the add-on does not export ${sym}`);
  }
  if (!s.exported.includes('napi_register_module_v1')) problems.push('the control module does not export napi_register_module_v1');
  for (const [name, m] of [['add-on', a], ['control module', s]]) {
    for (const dll of ['node.exe', 'live_engine_shared.dll']) if (!m.imports.includes(dll)) problems.push(`the ${name} does not import ${dll}`);
  }
  if (!a.imports.includes('ADVAPI32.dll') || !a.imports.includes('SHELL32.dll')) problems.push('the add-on does not import the token and shell calls');
  if (e.exported.length === 0) problems.push('the engine DLL exports nothing');

  const summary = Object.entries(report.modules)
    .map(([n, m]) => `${n} ${path.basename(n === 'engine' ? engine : n === 'addon' ? addon : sim)} ${m.format} ${(m.bytes / 1048576).toFixed(1)} MB, ` +
      `${m.exported.length} exports, imports ${m.imports.join(' ')}`)
    .join('\n  ');
  console.log(`cross:win: ${jobs.length} sources (${JSON.stringify(report.sources)}) in ${((Date.now() - started) / 1000).toFixed(0)} s\n  ${summary}`);
  fs.writeFileSync(path.join(out, 'report.json'), JSON.stringify(report, null, 2));
  if (problems.length) {
    console.error(`cross:win: FAILED\n  ${problems.join('\n  ')}`);
    process.exit(1);
  }
  console.log('cross:win: ok');
}

main().catch((err) => {
  console.error(`cross:win: FAILED\n${err.message}`);
  process.exit(1);
});
