// The line page in Debian's Chromium, driven by playwright-core, against the real lvcfg-line
// over a store that a running `lvcfg-cli batch --watch` fills from simulated modules:
// the station shows running and its count rises without a reload, a hostile module name
// shows as text, the station goes idle and then offline once it is killed, with an alarm each;
// then a picture of the page.
//
//   node line_page_test.mjs LVCFG_LINE LVCFG_CLI MODULE_SIM SCREENSHOT.png
//
// Ends with 77 (skipped) where no browser can start.
import { spawn, execFileSync } from 'node:child_process';
import { createInterface } from 'node:readline';
import { createWriteStream, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import assert from 'node:assert/strict';

const [lineProgram, cliProgram, simProgram, screenshot] = process.argv.slice(2);
const SKIPPED = 77;
// A module whose name field holds markup; it refuses the write, so the shift has a failure.
const HOSTILE = 'Lumivaro<img src=x>';
const HOSTILE_HEX = Buffer.from(HOSTILE).toString('hex').match(/../g).join(' ');
const folder = mkdtempSync(join(tmpdir(), 'lvcfg-line-page-'));
const store = `sqlite:${join(folder, 'station.sqlite')}`;
const environment = { ...process.env, XDG_DATA_HOME: folder, LVCFG_STATION_DB: store };
const children = [];

let chromium;
try {
  ({ chromium } = await import('playwright-core'));
} catch {
  console.log('SKIP: playwright-core is not installed here (scripts/install-deps --tests)');
  process.exit(SKIPPED);
}

// Starts a program and gives its first `lines` lines of output.
function start(program, args, lines) {
  const child = spawn(program, args, { env: environment, stdio: ['ignore', 'pipe', 'inherit'] });
  children.push(child);
  const reader = createInterface({ input: child.stdout });
  const seen = [];
  return new Promise((resolve, reject) => {
    if (lines === 0) resolve({ child, lines: seen });
    reader.on('line', (line) => {
      seen.push(line);
      if (seen.length === lines) resolve({ child, lines: seen });
    });
    child.on('exit', (code) => reject(new Error(`${program} ended with ${code}: ${seen.join('\n')}`)));
  });
}

function cli(...args) {
  return execFileSync(cliProgram, args, { env: environment, encoding: 'utf8' });
}

// The number the page shows under "Passed".
async function passedOnPage(page) {
  return Number(await page.locator('#passed').textContent());
}

async function run() {
  const sims = await start(simProgram, ['--count', '6', '--at-once'], 6);
  const ports = sims.lines;
  const config = join(folder, 'line.cfg');
  cli('read', '--port', ports[0], '--output', config);
  cli('pool', 'add', '--start', '4C:56:00:10:00:00', '--count', '50');
  cli('order', 'create', 'PO-1', '--config', config, '--quantity', '40');

  const arrivals = join(folder, 'arrivals');
  execFileSync('mkfifo', [arrivals]);
  const station = spawn(cliProgram, ['batch', '--order', 'PO-1', '--watch', '--arrivals-from',
    arrivals, '--station', 'line-1'], { env: environment, stdio: 'ignore' });
  children.push(station);
  const feed = createWriteStream(arrivals);

  const server = await start(lineProgram, ['--station-db', store, '--listen', '127.0.0.1:0',
    '--idle-minutes', '0.05', '--idle-alarm-minutes', '0.05'], 1);
  const url = server.lines[0].match(/http:\/\/\S+/)[0];

  let browser;
  try {
    // A fresh profile in the test's folder; never a browser of playwright's own.
    browser = await chromium.launchPersistentContext(join(folder, 'chromium'), {
      executablePath: '/usr/bin/chromium',
      headless: true,
      viewport: { width: 1400, height: 1500 },
      args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run'],
    });
  } catch (error) {
    console.log(`SKIP: Chromium does not start here: ${error.message.split('\n')[0]}`);
    return SKIPPED;
  }
  const page = await browser.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  page.on('console', (message) => { if (message.type() === 'error') problems.push(message.text()); });
  page.on('dialog', (dialog) => { problems.push(`a dialog opened: ${dialog.message()}`); dialog.dismiss(); });
  let loads = 0;
  page.on('load', () => { loads += 1; });
  await page.goto(url);

  feed.write(`add ${ports[1]}\nadd ${ports[2]}\n`);
  const tile = page.getByRole('listitem', { name: 'line-1: running' });
  await tile.waitFor({ timeout: 10000 });
  await page.waitForFunction(() => Number(document.querySelector('#passed').textContent) >= 2);
  const before = await passedOnPage(page);
  feed.write(`add ${ports[3]}\nadd ${ports[4]}\nadd ${ports[5]}\n`);
  await page.waitForFunction((count) => Number(document.querySelector('#passed').textContent) > count, before);
  assert.ok(await passedOnPage(page) > before, 'the count rises');
  // The order counts down with its modules.
  const order = page.locator('#orders tbody tr', { hasText: 'PO-1' });
  await order.getByRole('cell', { name: '5', exact: true }).first().waitFor({ timeout: 10000 });

  const hostile = await start(simProgram, ['--at-once', '--name', HOSTILE_HEX,
    '--mac', '4C 56 00 00 00 40', '--misbehave', 'refuse'], 1);
  feed.write(`add ${hostile.lines[0]}\n`);
  const hostileCell = page.getByRole('cell', { name: `${HOSTILE} 1.6`, exact: true });
  await hostileCell.waitFor({ timeout: 10000 });
  assert.equal(await page.locator('main img').count(), 0, 'the module name made no element');

  // Killed, the station leaves its row behind: idle at once, offline once the row has not been
  // refreshed for three intervals.
  station.kill('SIGKILL');
  const alarm = page.getByRole('alert').getByText('Station line-1 has had no module for over 3 s');
  await alarm.waitFor({ timeout: 15000 });
  await page.getByRole('listitem', { name: 'line-1: offline' }).waitFor({ timeout: 30000 });
  await page.getByRole('alert').getByText('Station line-1 is offline').waitFor();
  assert.equal(loads, 1, 'the page never reloaded');
  assert.deepEqual(problems, [], 'no script error, no policy violation, no dialog');
  await page.screenshot({ path: screenshot, fullPage: true });
  await browser.close();
  feed.end();
  return 0;
}

let code = 1;
try {
  code = await run();
  if (code === 0) console.log('the line page passed');
} catch (error) {
  console.error(error);
} finally {
  for (const child of children) child.kill('SIGTERM');
  rmSync(folder, { recursive: true, force: true });
}
process.exit(code);
