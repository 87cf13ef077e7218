#!/usr/bin/env node
// Measures the browser build in headless Chromium: the frame rate over 10 s of play with the
// most frames run in one animation callback and the time a frame takes, the time from
// navigation to the first picture, and the download (the three files, gzip-compressed).
// Run after `make web web-test-deps`: node bench/web_figures.mjs
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { gzipSync } from 'node:zlib';
import { holdKey, openGame, sleep, startBrowser, waitForState, webBuild } from '../tests/web/lib.mjs';

const sample = (page) => page.evaluate(() => ({ ...window.quorvanelStats(), at: performance.now() }));

let total = 0;
for (const file of ['index.html', 'quorvanel.js', 'quorvanel.wasm']) {
    const bytes = readFileSync(path.join(webBuild, file));
    const packed = gzipSync(bytes, { level: 9 }).length;
    total += packed;
    console.log(`${file}: ${bytes.length} bytes, ${packed} gzip-compressed`);
}
console.log(`download: ${total} bytes gzip-compressed (${(total / 1024).toFixed(1)} KiB)`);

const session = await startBrowser();
try {
    const firsts = [];
    for (let i = 0; i < 5; ++i) {
        const { page } = await openGame(session, { storage: null });
        firsts.push((await sample(page)).FirstFrameTime);
        await page.close();
    }
    console.log(`navigation to first picture: ${firsts.map((t) => t.toFixed(0)).join(', ')} ms`);

    const { page } = await openGame(session, { storage: null });
    await waitForState(page, (s) => s.GameState === 1, 'the attract screen');
    await holdKey(page, 'Space', 100);
    await waitForState(page, (s) => s.GameState === 3, 'play');
    const first = await sample(page);
    await sleep(10000);
    const last = await sample(page);
    const frames = last.Frames - first.Frames;
    const seconds = (last.at - first.at) / 1000;
    console.log(`play: ${(frames / seconds).toFixed(2)} frames a second over ${seconds.toFixed(2)} s ` +
                `(the gate: ${(1000 / 17).toFixed(2)}), ${frames} frames in ` +
                `${last.Callbacks - first.Callbacks} callbacks, at most ${last.MostFramesInCallback} ` +
                `in one; ${((last.FrameMs - first.FrameMs) / frames).toFixed(3)} ms a frame ` +
                'with its picture shown');
} finally {
    await session.end();
}
