// The system's Chromium, headless, with a fresh profile of its own that goes
// with it: never the user's browser or profile, never a downloaded build.
// Shared by the page's tests, its benchmark and its screenshot.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import puppeteer from 'puppeteer-core';

// `extraArgs` go to the browser after the usual ones.
export async function launchChromium(name, options = {}, extraArgs = []) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), `veridrift-${name}-`));
  const browser = await puppeteer.launch({
    executablePath: process.env.VERIDRIFT_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    // No network but the page's own: nothing of Chromium's reaches out.
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--use-angle=swiftshader', '--enable-unsafe-swiftshader', ...extraArgs],
    ...options,
  });
  return {
    browser,
    profile,
    async close() {
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}
