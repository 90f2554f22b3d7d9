// The system's browsers, headless, each with a fresh profile of its own that
// goes with it: never the user's browser or profile, never a downloaded
// build. Shared by the page's tests, its benchmark and its screenshot.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import puppeteer from 'puppeteer-core';

async function withFreshProfile(name, launch) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), `veridrift-${name}-`));
  let browser;
  try {
    browser = await launch(profile);
  } catch (error) {
    fs.rmSync(profile, { recursive: true, force: true });
    throw error;
  }
  return {
    browser,
    profile,
    async close() {
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// `extraArgs` go to the browser after the usual ones.
export async function launchChromium(name, options = {}, extraArgs = []) {
  return withFreshProfile(name, (profile) => puppeteer.launch({
    executablePath: process.env.VERIDRIFT_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    // No network but the page's own: nothing of Chromium's reaches out.
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--use-angle=swiftshader', '--enable-unsafe-swiftshader', ...extraArgs],
    ...options,
  }));
}

// Debian's Firefox ESR, driven through WebDriver BiDi, as puppeteer drives
// Firefox. Puppeteer's own preferences already keep updates, telemetry and
// first-run pages away; these keep the rest of Firefox's reaching out away.
export async function launchFirefox(name, options = {}) {
  const { extraPrefsFirefox, ...rest } = options;
  return withFreshProfile(name, (profile) => puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.VERIDRIFT_FIREFOX || '/usr/bin/firefox-esr',
    headless: true,
    userDataDir: profile,
    extraPrefsFirefox: {
      'network.connectivity-service.enabled': false,
      'network.captive-portal-service.enabled': false,
      'browser.safebrowsing.update.enabled': false,
      'extensions.getAddons.cache.enabled': false,
      'media.gmp-manager.url': '',
      'browser.region.network.url': '',
      ...extraPrefsFirefox,
    },
    ...rest,
  }));
}
