// Reads the simulator's screenshots: 8-bit RGB or RGBA PNGs, not interlaced, into RGBA bytes.
import { readFileSync } from 'node:fs';
import { inflateSync } from 'node:zlib';

export function readPng(file) {
    const bytes = readFileSync(file);
    let at = 8;
    let width = 0, height = 0, channels = 0;
    const data = [];
    while (at < bytes.length) {
        const length = bytes.readUInt32BE(at);
        const type = bytes.toString('latin1', at + 4, at + 8);
        const body = bytes.subarray(at + 8, at + 8 + length);
        if (type === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            const [depth, colour, , , interlace] = body.subarray(8, 13);
            if (depth !== 8 || (colour !== 2 && colour !== 6) || interlace !== 0)
                throw new Error(`${file}: only 8-bit RGB or RGBA PNGs are read`);
            channels = colour === 2 ? 3 : 4;
        } else if (type === 'IDAT') {
            data.push(body);
        }
        at += 12 + length;
    }
    const raw = inflateSync(Buffer.concat(data));
    const stride = width * channels;
    const rows = new Uint8Array(height * stride);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
        for (let i = 0; i < stride; ++i) {
            const a = i >= channels ? rows[y * stride + i - channels] : 0;
            const b = y > 0 ? rows[(y - 1) * stride + i] : 0;
            const c = i >= channels && y > 0 ? rows[(y - 1) * stride + i - channels] : 0;
            let p = line[i];
            if (filter === 1) p += a;
            else if (filter === 2) p += b;
            else if (filter === 3) p += (a + b) >> 1;
            else if (filter === 4) {
                const e = a + b - c, pa = Math.abs(e - a), pb = Math.abs(e - b), pc = Math.abs(e - c);
                p += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            rows[y * stride + i] = p & 255;
        }
    }
    const rgba = new Uint8Array(width * height * 4);
    for (let i = 0; i < width * height; ++i) {
        for (let k = 0; k < 3; ++k) rgba[i * 4 + k] = rows[i * channels + k];
        rgba[i * 4 + 3] = 255;
    }
    return { width, height, rgba };
}
