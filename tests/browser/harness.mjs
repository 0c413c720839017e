// What the browser tests share: headless Chromium started without a
// profile, network or extras, and named checks run one after another.
import { chromium } from 'playwright-core';

export async function launchChromium() {
  // Playwright starts Chromium with a fresh temporary profile of its own.
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
}

// Runs [name, async fn] pairs in order, printing ok or FAIL for each;
// returns the number that failed.
export async function runChecks(checks) {
  let failures = 0;
  for (const [name, fn] of checks) {
    try {
      await fn();
      console.log(`ok   ${name}`);
    } catch (e) {
      failures++;
      console.log(`FAIL ${name}\n     ${String(e.message || e).split('\n').join('\n     ')}`);
    }
  }
  return failures;
}
