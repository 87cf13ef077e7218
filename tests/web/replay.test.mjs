// The same key script fed to the page and to quorvanel-sim ends in the same state and the
// same picture, frame for frame.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { openGame, picture, startBrowser, stats, waitFor, waitForState } from './lib.mjs';
import { differingPixels, runSimulator } from './sim.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session.end(); });

// A game started with the bar held for 6 frames; during play a loop that claims a region,
// a reversal, the frame-rate figure on and off and the wall view; then back to the title.
const script = `# start
100 down space
106 up space
230 down up
260 up up
260 down right
290 up right
290 down down
330 up down
350 down space
352 up space
360 down f5
361 up f5
380 down f2
381 up f2
400 down left
440 up left
`;

async function playInPage(page, text, frames, options) {
    const error = await page.evaluate((t, n, o) => window.quorvanelPlayScript(t, n, o), text, frames,
                                      options);
    assert.equal(error, '');
    // The run starts at the loop's next turn, from frame 0.
    await waitFor(page, () => { const s = window.quorvanelStats(); return s.Scripted && !s.ScriptPending; });
    return waitForState(page, (s) => s.Frame === frames, `frame ${frames} of the replay`, 60000);
}

test('a scripted game ends in the simulator\'s state and picture', async () => {
    const { page, watch } = await openGame(session, { storage: null });
    const frames = 460;
    await playInPage(page, script, frames, { time: 1234 });
    // The run holds at its last frame; the state is read there.
    const pageState = await page.evaluate(() => window.quorvanelState());
    const sim = runSimulator(script, frames, { shots: [frames], time: 1234 });
    const parsed = JSON.parse(pageState);
    assert.ok(parsed.PercentComplete > 0, 'the script claims a region');
    assert.ok(parsed.SoundsPlayed.length === 0, 'sounds are off by default');
    assert.equal(pageState, sim.state);
    assert.deepEqual(differingPixels(await picture(page), sim.pictures[frames]), []);
    assert.equal((await stats(page)).Frames >= frames, true);
    assert.deepEqual(watch.errors, []);
    await page.close();
});

test('the state at every stage of a game matches: title, attract, pause, play, a lost life', async () => {
    const { page } = await openGame(session, { storage: null });
    // A trail left open in the balls' way loses a life sooner or later.
    const long = `100 down space\n106 up space\n230 down up\n330 up up\n`;
    for (const frames of [96, 150, 231, 700]) {
        await playInPage(page, long, frames, { time: 99 });
        const text = await page.evaluate(() => window.quorvanelState());
        assert.equal(text, runSimulator(long, frames, { time: 99 }).state, `frame ${frames}`);
    }
    await page.close();
});

test('a script the simulator would refuse is refused with its line', async () => {
    const { page } = await openGame(session);
    const error = await page.evaluate(() => window.quorvanelPlayScript('10 down space\n12 sideways up\n', 50));
    assert.match(error, /^script:2: unknown event 'sideways'/);
    assert.equal((await stats(page)).ScriptPending, 0);
    await page.close();
});
