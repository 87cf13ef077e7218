// The commands: function keys and the right-click menu on the picture, with the modal boxes
// they open (no frame runs while one is up).
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { holdKey, openGame, sleep, startBrowser, state, stats, waitFor, waitForState } from './lib.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session.end(); });

// Page coordinates of a point of the picture.
const onPicture = (page, x, y) => page.evaluate((px, py) => {
    const r = document.getElementById('screen').getBoundingClientRect();
    const scale = r.width / 400;
    return { x: r.left + (px + 0.5) * scale, y: r.top + (py + 0.5) * scale };
}, x, y);

async function openMenu(page, x, y) {
    const at = await onPicture(page, x, y);
    await page.mouse.click(at.x, at.y, { button: 'right' });
    await waitFor(page, () => window.quorvanelMenu() !== null);
    return page.evaluate(() => window.quorvanelMenu());
}

async function chooseFromMenu(page, menu, command) {
    const item = menu.Items.find((i) => i.Command === command);
    assert.ok(item, `menu command ${command}`);
    const at = await onPicture(page, menu.Left + item.X + (item.W >> 1), menu.Top + item.Y + (item.H >> 1));
    await page.mouse.click(at.x, at.y);
    await waitFor(page, () => window.quorvanelMenu() === null);
}

test('the right-click menu carries About, Options, e-mail and the web page', async () => {
    const { page, watch } = await openGame(session);
    await waitForState(page, (s) => s.GameState === 1, 'the attract screen');
    await page.evaluate(() => {
        window.opened = [];
        window.open = (url) => { window.opened.push(url); return null; };
    });
    let menu = await openMenu(page, 120, 80);
    assert.equal(menu.Left, 120);
    assert.equal(menu.Top, 80);
    assert.deepEqual(menu.Items.map((i) => i.Command), [1, 2, 4, 5]);
    const frames = (await stats(page)).Frames;
    await sleep(300);
    assert.equal((await stats(page)).Frames, frames, 'no frame runs while the menu is up');
    assert.equal(await page.evaluate(() => document.getElementById('popup').hidden), false);

    await chooseFromMenu(page, menu, 1);
    await waitFor(page, () => { const d = window.quorvanelDialog(); return d && d.Template === 101; });
    await page.keyboard.press('Enter');
    await waitFor(page, () => window.quorvanelDialog() === null);
    assert.equal(await page.evaluate(() => document.getElementById('popup').hidden), true);
    await waitFor(page, (n) => window.quorvanelStats().Frames > n, frames);

    // Near the picture's corner the menu opens up and to the left of the pointer.
    menu = await openMenu(page, 390, 290);
    assert.ok(menu.Left < 390 && menu.Top < 290, JSON.stringify(menu));
    await chooseFromMenu(page, menu, 4);
    menu = await openMenu(page, 50, 50);
    await chooseFromMenu(page, menu, 5);
    const opened = await page.evaluate(() => window.opened);
    assert.equal(opened.length, 2);
    assert.match(opened[0], /^mailto:.*subject=Quorvanel%20V1\.05$/);
    assert.match(opened[1], /^https:\/\//);

    // Escape, or a press elsewhere, closes the menu without a command.
    await openMenu(page, 200, 150);
    await page.keyboard.press('Escape');
    await waitFor(page, () => window.quorvanelMenu() === null);
    assert.equal((await state(page)).GameState, 1, 'Escape went to the menu, not the game');
    await openMenu(page, 200, 150);
    await page.mouse.click(5, 5);
    await waitFor(page, () => window.quorvanelMenu() === null);
    assert.equal(await page.evaluate(() => window.quorvanelDialog()), null);
    assert.deepEqual(watch.errors, []);
    await page.close();
});

test('F9, F11, F5, F2 and Escape do what the desktop keys do', async () => {
    const { page } = await openGame(session, { storage: null });
    await waitForState(page, (s) => s.GameState === 1, 'the attract screen');
    await page.keyboard.press('F9');
    await waitFor(page, () => { const d = window.quorvanelDialog(); return d && d.Template === 101; });
    await page.keyboard.press('Escape');
    await waitFor(page, () => window.quorvanelDialog() === null);
    await page.keyboard.press('F11');
    await waitFor(page, () => { const d = window.quorvanelDialog(); return d && d.Template === 112; });
    await page.keyboard.press('Escape');
    await waitFor(page, () => window.quorvanelDialog() === null);

    const fps = (await state(page)).ShowFps;
    await page.keyboard.press('F5');
    await waitForState(page, (s) => s.ShowFps !== fps, 'the frame-rate figure switched');

    // A press and release between two frames is never seen: the bar is held for a frame.
    await holdKey(page, 'Space', 100);
    await waitForState(page, (s) => s.GameState === 3, 'play');
    await page.keyboard.press('F2');
    await sleep(50);
    await page.keyboard.press('Escape');
    const title = await waitForState(page, (s) => s.GameState === 0 || s.GameState === 1, 'the title');
    assert.equal(title.Level, 1);
    await page.close();
});
