// The page's frame rate, measured over 5 s of the running game: the 17 ms gate's 58.8 frames
// a second within 1 percent, never more than two frames in one animation callback.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { openGame, sleep, startBrowser } from './lib.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session.end(); });

const sample = (page) => page.evaluate(() => ({ ...window.quorvanelStats(), at: performance.now() }));

test('58.8 frames a second over 5 s, at most two in a callback', async (t) => {
    const { page } = await openGame(session, { storage: null });
    await sleep(500);
    const first = await sample(page);
    await sleep(5000);
    const last = await sample(page);
    const rate = ((last.Frames - first.Frames) * 1000) / (last.at - first.at);
    const gate = 1000 / 17;
    t.diagnostic(`${rate.toFixed(2)} frames a second over ${((last.at - first.at) / 1000).toFixed(2)} s; ` +
                `first picture ${first.FirstFrameTime.toFixed(0)} ms after navigation; ` +
                `${(last.Frames - first.Frames)} frames in ${last.Callbacks - first.Callbacks} callbacks`);
    assert.ok(Math.abs(rate - gate) / gate < 0.01, `${rate} frames a second`);
    assert.ok(last.MostFramesInCallback <= 2, `${last.MostFramesInCallback} frames in one callback`);
    await page.close();
});
