// What the browser tests share: Debian's Chromium driven by puppeteer-core, the build served
// on 127.0.0.1, and a page wrapper that watches the console, errors and requests.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { startServer } from '../../tools/web/serve.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const sourceDir = path.resolve(here, '../..');
export const webBuild = path.resolve(process.env.QUORVANEL_WEB_BUILD || path.join(sourceDir, 'build-web'));
export const simulator = process.env.QUORVANEL_SIM || path.join(sourceDir, 'build/quorvanel-sim');

// Without these Chromium tries to reach the network for updates, field trials and the like.
const chromiumFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
    '--no-first-run', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--disable-default-apps', '--mute-audio',
    '--autoplay-policy=user-gesture-required'];

// One browser and one server for a test file; end() stops both and removes the profile.
export async function startBrowser() {
    const profile = mkdtempSync(path.join(tmpdir(), 'quorvanel-chromium-'));
    const server = await startServer(webBuild);
    let browser;
    try {
        browser = await puppeteer.launch({
            executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
            headless: true,
            args: [...chromiumFlags, `--user-data-dir=${profile}`],
            defaultViewport: { width: 1000, height: 800 },
        });
    } catch (error) {
        await server.close();
        rmSync(profile, { recursive: true, force: true });
        throw error;
    }
    return {
        address: server.address,
        browser,
        async end() {
            await browser.close().catch(() => {});
            await server.close();
            rmSync(profile, { recursive: true, force: true });
        },
    };
}

// A page of the game with everything it says and asks for recorded.
export async function openGame(session, { storage } = {}) {
    const page = await session.browser.newPage();
    if (storage !== undefined) await presetStorage(session, page, storage);
    const watch = { console: [], errors: [], foreignRequests: [] };
    page.on('console', (m) => watch.console.push({ type: m.type(), text: m.text(), url: m.location().url }));
    page.on('pageerror', (e) => watch.errors.push(String(e)));
    page.on('request', (r) => {
        if (!r.url().startsWith(session.address)) watch.foreignRequests.push(r.url());
    });
    await page.goto(session.address, { waitUntil: 'load' });
    await untilRunning(page);
    return { page, watch };
}

const untilRunning = (page) =>
    waitFor(page, () => { const s = window.quorvanelStats(); return s && s.Frames > 0; });

// A reload, as the player makes one: the page saves on its way out and starts afresh.
export async function reloadGame(page) {
    await page.reload({ waitUntil: 'load' });
    await untilRunning(page);
}

// The page's storage before the game starts: null clears it, a string is the settings text.
// It is set from an empty page of the same origin, which the browser makes up itself.
export async function presetStorage(session, page, text) {
    const blank = session.address + 'blank-for-storage';
    const answer = (request) => {
        // With an icon of its own, so that the browser asks the server for none later.
        if (request.url() === blank)
            request.respond({ status: 200, contentType: 'text/html',
                              body: '<!doctype html><link rel="icon" href="data:,">' });
        else request.continue();
    };
    await page.setRequestInterception(true);
    page.on('request', answer);
    await page.goto(blank, { waitUntil: 'load' });
    await page.evaluate((t) => {
        if (t === null) localStorage.removeItem('Quorvanel/settings');
        else localStorage.setItem('Quorvanel/settings', t);
    }, text);
    page.off('request', answer);
    await page.setRequestInterception(false);
}

export async function waitFor(page, predicate, arg, timeout = 20000) {
    await page.waitForFunction(predicate, { timeout, polling: 20 }, arg);
}

export const state = async (page) => JSON.parse(await page.evaluate(() => window.quorvanelState()));
export const stats = (page) => page.evaluate(() => window.quorvanelStats());

export async function waitForState(page, test, description, timeout = 30000) {
    const started = Date.now();
    for (;;) {
        const s = await state(page);
        if (test(s)) return s;
        if (Date.now() - started > timeout)
            throw new Error(`timed out waiting for ${description}; state: GameState ${s.GameState}, Frame ${s.Frame}`);
        await new Promise((r) => setTimeout(r, 25));
    }
}

// The picture's 400x300 pixels as RGBA bytes, read back from the page's canvas.
export async function picture(page, id = 'screen') {
    const data = await page.evaluate((canvasId) => {
        const c = document.getElementById(canvasId);
        return Array.from(c.getContext('2d').getImageData(0, 0, c.width, c.height).data);
    }, id);
    return Uint8Array.from(data);
}

export function pixel(rgba, x, y, width = 400) {
    const i = (y * width + x) * 4;
    return [rgba[i], rgba[i + 1], rgba[i + 2]];
}

export async function holdKey(page, key, ms) {
    await page.keyboard.down(key);
    await new Promise((r) => setTimeout(r, ms));
    await page.keyboard.up(key);
}

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
