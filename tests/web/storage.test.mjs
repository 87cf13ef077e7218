// What the page keeps in its storage: options, the high-score table, and what it does with a
// stored value it cannot read.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { openGame, picture, pixel, reloadGame, sleep, startBrowser, state, stats, waitFor,
         waitForState } from './lib.mjs';
import { builtIn, settingsText, storedText } from './settings.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session.end(); });

// Clicks the middle of a control of the open dialog box.
async function clickControl(page, id) {
    const box = await page.evaluate(() => window.quorvanelDialog());
    const item = box.Items.find((i) => i.Id === id);
    assert.ok(item, `control ${id} in box ${box.Template}`);
    const at = await page.evaluate((x, y) => {
        const r = document.getElementById('screen').getBoundingClientRect();
        const scale = r.width / 400;
        return { x: r.left + (x + 0.5) * scale, y: r.top + (y + 0.5) * scale };
    }, box.Left + item.X + (item.W >> 1), box.Top + item.Y + (item.H >> 1));
    await page.mouse.click(at.x, at.y);
}

const dialogOpen = (page, template) =>
    waitFor(page, (t) => { const d = window.quorvanelDialog(); return d && d.Template === t; }, template);

test('a stored value that cannot be read is reported on the console; the others load', async () => {
    const text = settingsText({ values: { PlayerSpeed: 1, RespawnTime: 30 } })
        .replace('BallSpeed=b:00000000', 'BallSpeed=b:zz');
    const { page, watch } = await openGame(session, { storage: text.replace('BonusLife=b:00000000', 'BonusLife=b:02000000') });
    const s = await state(page);
    assert.equal(s.PlayerSpeed, 1);
    assert.equal(s.RespawnTime, 30);
    assert.equal(s.BonusLife, 2);
    assert.equal(s.BallSpeed, builtIn.BallSpeed);
    const reports = watch.console.filter((m) => m.text.includes('BallSpeed'));
    assert.equal(reports.length, 1, JSON.stringify(watch.console));
    assert.match(reports[0].text, /^ReadSettingsFile: line 4 \(BallSpeed\)/);
    assert.equal(reports[0].type, 'log');
    // Nothing has been written over what was stored yet.
    assert.match(await storedText(page), /BallSpeed=b:zz/);
    await page.close();
});

test('options chosen in the Options box survive a reload', async () => {
    const { page } = await openGame(session, { storage: null });
    await waitForState(page, (s) => s.GameState === 1, 'the attract screen');
    await page.keyboard.press('F11');
    await dialogOpen(page, 112);
    const framesWhileOpen = (await stats(page)).Frames;
    await clickControl(page, 1007); // Ball Speed: Fast
    await clickControl(page, 1020); // Enemy Re-Spawn: 45
    await sleep(300);
    assert.equal((await stats(page)).Frames, framesWhileOpen, 'no frame runs while the box is up');
    // Another tab of the game saves a best score meanwhile: this tab's save keeps it.
    await page.evaluate(() => {
        const text = localStorage.getItem('Quorvanel/settings');
        localStorage.setItem('Quorvanel/settings', text.replace(/PlayerName05=s:[^\n]*/, 'PlayerName05=s:Zed')
            .replace(/PlayerScore05=b:[^\n]*/, 'PlayerScore05=b:e8fd0000'));
    });
    await clickControl(page, 1); // OK
    await waitFor(page, () => window.quorvanelDialog() === null);
    assert.match(await storedText(page), /BallSpeed=b:01000000/i);
    assert.match(await storedText(page), /RespawnTime=b:2d000000/i);

    await reloadGame(page);
    const s = await state(page);
    assert.equal(s.BallSpeed, 1);
    assert.equal(s.RespawnTime, 45);
    assert.equal(s.RespawnFlag, 1);
    assert.equal(s.EnemySpeed, builtIn.EnemySpeed);
    assert.deepEqual(s.HighScoreTable[4], { Name: 'Zed', Score: 65000 });

    // Cancel keeps everything as it was.
    await waitForState(page, (st) => st.GameState === 1, 'the attract screen');
    await page.keyboard.press('F11');
    await dialogOpen(page, 112);
    await clickControl(page, 1006);
    await page.keyboard.press('Escape');
    await waitFor(page, () => window.quorvanelDialog() === null);
    assert.equal((await state(page)).BallSpeed, 1);
    await page.close();
});

test('a high score entered in the name box is on the title page after a reload', async () => {
    // A table any score enters, and fast enemies for a short game.
    const table = Array.from({ length: 10 }, () => ({ name: 'A', score: 0 }));
    const storage = settingsText({ values: { EnemySpeed: 1, BallSpeed: 1, Sounds: 1 }, table });
    const { page, watch } = await openGame(session, { storage });
    await waitForState(page, (s) => s.GameState === 1, 'the attract screen');
    const nameRow = (rgba) => {
        let lit = 0;
        for (let y = 100; y < 112; ++y)
            for (let x = 25; x < 200; ++x) if (pixel(rgba, x, y).join() === '0,155,255') ++lit;
        return lit;
    };
    const before = nameRow(await picture(page));
    assert.ok(before > 0, 'the first name is drawn');

    await page.keyboard.down('Space');
    await sleep(100);
    await page.keyboard.up('Space');
    // The first key made sound possible; the level start plays its sound.
    await waitFor(page, () => Module.quorvanelAudio.started > 0);
    assert.equal(await page.evaluate(() => Module.quorvanelAudio.context.state), 'running');

    // The square waits on the wall until the enemies have taken its lives.
    await waitFor(page, () => { const d = window.quorvanelDialog(); return d && d.Template === 109; },
                  undefined, 60000);
    const frames = (await stats(page)).Frames;
    await page.keyboard.type('Ada Lovelace');
    await sleep(200);
    assert.equal((await stats(page)).Frames, frames, 'the game waits for the name');
    await page.keyboard.press('Enter');
    await waitFor(page, () => window.quorvanelDialog() === null);
    const s = await state(page);
    assert.equal(s.HighScoreTable[0].Name, 'Ada Lovelace');
    assert.equal(s.PlayerName, 'Ada Lovelace');
    assert.match(await storedText(page), /PlayerName01=s:Ada Lovelace/);

    await reloadGame(page);
    await waitForState(page, (st) => st.GameState === 1, 'the attract screen after the reload');
    assert.equal((await state(page)).HighScoreTable[0].Name, 'Ada Lovelace');
    const after = nameRow(await picture(page));
    assert.ok(after > 4 * before, `the longer name is drawn: ${before} lit pixels before, ${after} after`);
    assert.deepEqual(watch.errors, []);
    await page.close();
});
