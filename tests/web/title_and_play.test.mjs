// The page from start to play: the title page, a game started with Space, the square steered
// by the cursor keys into a claim; the page itself: offline, crisp, keys kept from the page.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { holdKey, openGame, picture, pixel, sleep, startBrowser, state, stats,
         waitForState } from './lib.mjs';
import { differingPixels, runSimulator } from './sim.mjs';

const Blue = [0, 0, 255];
// The status box, where the spare balls bounce wherever the random generator sends them.
const SpareBallBox = { x: 114, y: 0, w: 172, h: 23 };

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session.end(); });

test('the title page: the logo arrives at frame 96 inside the blue frame, over the table', async () => {
    const { page, watch } = await openGame(session, { storage: null });
    // Each state read is one moment: the last title frame and the first attract frame
    // bracket the logo's arrival.
    let lastTitle = null, firstAttract = null;
    while (!firstAttract) {
        const s = await state(page);
        if (s.GameState === 0) lastTitle = s.Frame;
        else if (s.GameState === 1) firstAttract = s.Frame;
        else assert.fail(`unexpected state ${s.GameState} at frame ${s.Frame}`);
        await sleep(5);
    }
    assert.ok(lastTitle !== null && lastTitle < 96, `still the title at frame ${lastTitle}`);
    assert.ok(firstAttract >= 96, `the logo arrived at frame ${firstAttract}`);

    const rgba = await picture(page);
    for (const [x, y] of [[0, 150], [3, 150], [399, 150], [200, 0], [200, 299]])
        assert.deepEqual(pixel(rgba, x, y), Blue, `frame at ${x},${y}`);
    const lit = (x0, y0, w, h) => {
        let n = 0;
        for (let y = y0; y < y0 + h; ++y)
            for (let x = x0; x < x0 + w; ++x) if (pixel(rgba, x, y).some((c) => c > 0)) ++n;
        return n;
    };
    assert.ok(lit(60, 15, 280, 70) > 5000, 'the logo is drawn at the top');
    assert.ok(lit(25, 100, 60, 12) > 40, 'the first name of the table is drawn');

    // The same frames replayed on the simulator's clock give the simulator's picture.
    assert.equal(await page.evaluate(() => window.quorvanelPlayScript('', 100)), '');
    await waitForState(page, (s) => s.Frame === 100, 'a replay of 100 frames');
    const sim = runSimulator('', 100, { shots: [100] });
    assert.deepEqual(differingPixels(await picture(page), sim.pictures[100]), []);

    assert.deepEqual(watch.errors, []);
    assert.deepEqual(watch.console.filter((m) => m.type === 'error'), []);
    await page.close();
});

test('Space starts level 1 as the simulator draws it; the cursor keys claim a region', async () => {
    const { page, watch } = await openGame(session, { storage: null });
    await waitForState(page, (s) => s.GameState === 1, 'the attract screen');
    await holdKey(page, 'Space', 100);
    const pause = await waitForState(page, (s) => s.GameState === 11 && s.ResumeState === 3,
                                     'the level-start pause');
    assert.equal(pause.Level, 1);
    assert.equal(pause.Lives, 3);
    // During the pause only the spare balls move: the frame, the status line, the banner and
    // the square are where the simulator puts them.
    const script = '100 down space\n106 up space\n';
    const sim = runSimulator(script, 150, { shots: [150] });
    assert.deepEqual(differingPixels(await picture(page), sim.pictures[150], [SpareBallBox]), []);

    await waitForState(page, (s) => s.GameState === 3, 'play');
    // A short loop up, right and down again; a ball or an enemy may cost a life on the way,
    // and then the square starts again from its place.
    let claimed = null;
    for (let attempt = 0; attempt < 3 && !claimed; ++attempt) {
        const start = await waitForState(page, (s) => s.GameState === 3 && s.OnWall === 1,
                                         'the square on the wall');
        await holdKey(page, 'ArrowUp', 400);
        const up = await state(page);
        assert.ok(up.PlayerY < start.PlayerY - 10, `the square moved up: ${up.PlayerY}`);
        assert.equal(up.TrailActive, 1);
        await holdKey(page, 'ArrowRight', 400);
        const right = await state(page);
        await holdKey(page, 'ArrowDown', 900);
        const end = await state(page);
        if (end.PercentComplete > 0 && end.Lives === start.Lives)
            claimed = { left: start.PlayerX, right: right.PlayerX, top: up.PlayerY, end };
    }
    assert.ok(claimed, 'a claim within three tries');
    assert.equal(claimed.end.TrailActive, 0);
    const rgba = await picture(page);
    const inside = pixel(rgba, (claimed.left + claimed.right) >> 1, (claimed.top + 296) >> 1);
    assert.notDeepEqual(inside, [0, 0, 0], 'the claimed region is painted');
    assert.deepEqual(watch.errors, []);
    await page.close();
});

test('the page: offline, a keys line, a noscript text, crisp whole-number scaling, keys kept', async () => {
    const { page, watch } = await openGame(session);
    const looks = await page.evaluate(() => {
        const screen = document.getElementById('screen');
        const box = screen.getBoundingClientRect();
        const defaults = [];
        window.addEventListener('keydown', (e) => defaults.push([e.key, e.defaultPrevented]));
        window.quorvanelDefaults = defaults;
        return {
            rendering: getComputedStyle(screen).imageRendering,
            deviceWidth: box.width * devicePixelRatio,
            deviceHeight: box.height * devicePixelRatio,
            keys: document.getElementById('keys').textContent,
            noscript: document.querySelector('noscript').textContent.trim().length,
            fullScreenButton: !!document.getElementById('fullscreen'),
        };
    });
    assert.equal(looks.rendering, 'pixelated');
    assert.ok(Number.isInteger(looks.deviceWidth / 400) && looks.deviceWidth >= 800,
              `the picture is ${looks.deviceWidth} device pixels wide`);
    assert.equal(looks.deviceWidth / 400, looks.deviceHeight / 300);
    assert.match(looks.keys, /Space/);
    assert.ok(looks.noscript > 20);
    assert.ok(looks.fullScreenButton);

    for (const key of ['ArrowDown', 'ArrowUp', 'Space', 'F5', 'F5']) await page.keyboard.press(key);
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyR');
    await page.keyboard.up('Control');
    const defaults = await page.evaluate(() => window.quorvanelDefaults);
    // Control alone is nobody's shortcut; with it, R is the browser's.
    for (const [key, prevented] of defaults.filter(([key]) => key !== 'Control'))
        assert.equal(prevented, key !== 'r', `the default of ${key}`);
    assert.equal(defaults.length, 7);
    assert.equal(await page.evaluate(() => window.scrollY), 0);
    assert.deepEqual(watch.foreignRequests, []);
    await page.close();
});
