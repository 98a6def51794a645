'use strict';
// Test harness for the small wizards' pages: each test writes its pages with
// the wizards' own commands into a scratch folder that a loopback web site
// serves, beside a copy of the shipped "dlink.js"; a headless Chromium opens
// them.

const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const {execFileSync} = require('node:child_process');

const CHROMIUM = process.env.ONDRELO_CHROMIUM || '/usr/bin/chromium';

function scriptSource() {
    const dir = process.env.ONDRELO_SCRIPTS_DIR;
    if (!dir)
        throw new Error('ONDRELO_SCRIPTS_DIR is not set');
    return fs.readFileSync(path.join(dir, 'dlink.js'), 'utf8');
}

// Runs a command of the wizards ("dlink ..." or "links ...").
function gen(args, input) {
    const tool = process.env.ONDRELO_SMALLSET_GEN;
    if (!tool || !fs.existsSync(tool))
        throw new Error('the wizards\' command program is missing (' + (tool || 'unset') + ')');
    return execFileSync(tool, args, {input: input || '', encoding: 'utf8'});
}

// A scratch folder served over HTTP on an ephemeral loopback port.
class Site {
    constructor() {
        this.dir = fs.mkdtempSync(path.join(os.tmpdir(), 'ondrelo-smallset-'));
        fs.writeFileSync(path.join(this.dir, 'dlink.js'), scriptSource());
        this.requests = [];
    }

    start() {
        this.server = http.createServer((req, res) => {
            const url = new URL(req.url, 'http://x');
            this.requests.push(url.pathname + url.search);
            const file = path.join(this.dir, path.normalize(url.pathname).replace(/^[/\\]+/, ''));
            if (!file.startsWith(this.dir) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
                // Any other address answers with a small page naming itself.
                res.writeHead(200, {'Content-Type': 'text/html'});
                res.end('<html><body>landed ' + url.pathname + '</body></html>');
                return;
            }
            const type = file.endsWith('.js') ? 'application/javascript' : 'text/html; charset=utf-8';
            res.writeHead(200, {'Content-Type': type});
            res.end(fs.readFileSync(file));
        });
        return new Promise((resolve, reject) => {
            this.server.once('error', reject);
            this.server.listen(0, '127.0.0.1', () => {
                this.base = 'http://127.0.0.1:' + this.server.address().port;
                resolve();
            });
        });
    }

    stop() {
        fs.rmSync(this.dir, {recursive: true, force: true});
        return new Promise((resolve) => this.server.close(() => resolve()));
    }

    file(name) { return path.join(this.dir, name); }
    write(name, html) { fs.writeFileSync(this.file(name), html); }
    read(name) { return fs.readFileSync(this.file(name), 'utf8'); }
    url(name) { return this.base + '/' + name; }
}

async function launchBrowser() {
    if (!fs.existsSync(CHROMIUM))
        throw new Error('Chromium is missing at ' + CHROMIUM + ' (tools/setup installs it)');
    let chromium;
    try {
        chromium = require('playwright-core').chromium;
    } catch (e) {
        throw new Error('playwright-core is not installed: run tools/browser-deps BUILD_DIR');
    }
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'ondrelo-chromium-'));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: CHROMIUM,
        headless: true,
        args: [
            '--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
            '--no-first-run', '--disable-component-update', '--disable-sync',
            '--disable-popup-blocking'
        ],
    });
    return {
        context,
        async close() {
            await context.close();
            fs.rmSync(profile, {recursive: true, force: true});
        },
    };
}

// Opens a page and records its script errors.
async function openPage(context, url) {
    const page = await context.newPage();
    page.errors = [];
    page.on('pageerror', (e) => page.errors.push(String(e)));
    await page.goto(url);
    return page;
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

module.exports = {gen, Site, launchBrowser, openPage, scriptSource, sleep};
