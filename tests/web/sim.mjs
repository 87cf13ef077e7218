// Runs quorvanel-sim, the reference the page is compared with.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { simulator } from './lib.mjs';
import { readPng } from './png.mjs';

// The state text and the pictures at the given frames of a run of script for frames frames.
export function runSimulator(script, frames, { shots = [], time = 0 } = {}) {
    const work = mkdtempSync(path.join(tmpdir(), 'quorvanel-sim-'));
    try {
        const scriptFile = path.join(work, 'script.txt');
        writeFileSync(scriptFile, script);
        const args = ['--frames', String(frames), '--time', String(time), '--script', scriptFile,
                      '--state', path.join(work, 'state.json')];
        for (const frame of shots) args.push('--shot', `${frame}:${path.join(work, `${frame}.png`)}`);
        execFileSync(simulator, args, { stdio: ['ignore', 'ignore', 'pipe'] });
        const pictures = {};
        for (const frame of shots) pictures[frame] = readPng(path.join(work, `${frame}.png`)).rgba;
        return { state: readFileSync(path.join(work, 'state.json'), 'utf8'), pictures };
    } finally {
        rmSync(work, { recursive: true, force: true });
    }
}

// Pixels that differ between two 400x300 pictures, outside the rectangles left out.
export function differingPixels(a, b, leftOut = []) {
    const out = [];
    for (let y = 0; y < 300; ++y)
        for (let x = 0; x < 400; ++x) {
            if (leftOut.some((r) => x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h)) continue;
            const i = (y * 400 + x) * 4;
            if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) out.push([x, y]);
        }
    return out;
}
