#!/usr/bin/env node
// Serves the browser build's folder on 127.0.0.1, for playing (make play-web) and for the
// browser tests, which import startServer. Usage: serve.mjs FOLDER [PORT]; port 0 or none
// takes a free one. Only the folder's own files are served, with the types browsers expect.
import { createReadStream, statSync } from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.wasm': 'application/wasm',
    '.css': 'text/css; charset=utf-8',
    '.png': 'image/png',
};

export function startServer(folder, port = 0) {
    const root = path.resolve(folder);
    const server = http.createServer((request, response) => {
        const url = new URL(request.url, 'http://127.0.0.1');
        const file = path.join(root, decodeURIComponent(url.pathname === '/' ? '/index.html'
                                                                              : url.pathname));
        let size = -1;
        try {
            if (file.startsWith(root + path.sep) && statSync(file).isFile()) size = statSync(file).size;
        } catch {
            size = -1;
        }
        if ((request.method !== 'GET' && request.method !== 'HEAD') || size < 0) {
            response.writeHead(size < 0 ? 404 : 405, { 'Content-Type': 'text/plain' });
            response.end(size < 0 ? 'not found\n' : 'method not allowed\n');
            return;
        }
        response.writeHead(200, {
            'Content-Type': types[path.extname(file)] || 'application/octet-stream',
            'Content-Length': size,
            'Cache-Control': 'no-cache',
        });
        if (request.method === 'HEAD') response.end();
        else createReadStream(file).pipe(response);
    });
    return new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(port, '127.0.0.1', () => {
            const address = `http://127.0.0.1:${server.address().port}/`;
            resolve({ address, close: () => new Promise((done) => server.close(done)) });
        });
    });
}

if (process.argv[1] && path.resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
    const [folder, port] = process.argv.slice(2);
    if (!folder) {
        console.error('usage: serve.mjs FOLDER [PORT]');
        process.exit(2);
    }
    const { address } = await startServer(folder, Number(port || 0));
    console.log(`Quorvanel is served at ${address} (Ctrl+C stops the server)`);
}
