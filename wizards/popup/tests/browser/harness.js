'use strict';
// Test harness for the popup code: pages written by the popup subcommand
// (--insert) into a scratch folder, served from a loopback web site, and a
// headless Chromium that records every window.open of a page.

const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const {execFileSync} = require('node:child_process');

const CHROMIUM = process.env.ONDRELO_CHROMIUM || '/usr/bin/chromium';

function requirePlaywright() {
    try {
        return require('playwright-core');
    } catch (e) {
        throw new Error(
            'playwright-core is not installed: run tools/browser-deps BUILD_DIR ' +
            '(NODE_PATH=' + (process.env.NODE_PATH || '') + ')');
    }
}

function scriptsDir() {
    const dir = process.env.ONDRELO_SCRIPTS_DIR;
    if (!dir || !fs.existsSync(path.join(dir, 'cookies.js')))
        throw new Error('cookies.js is missing from ONDRELO_SCRIPTS_DIR (' + (dir || 'unset') + ')');
    return dir;
}

function generator() {
    const tool = process.env.ONDRELO_POPUP_GEN;
    if (!tool || !fs.existsSync(tool.split(' ')[0]))
        throw new Error('the popup generator is missing (' + (tool || 'unset') + ')');
    return tool.split(' ');
}

// A web site serving one scratch folder; each page gets a folder of its own.
class Site {
    constructor() {
        this.root = fs.mkdtempSync(path.join(os.tmpdir(), 'ondrelo-popup-'));
        this.next = 1;
    }

    start() {
        this.server = http.createServer((req, res) => {
            const url = new URL(req.url, 'http://x');
            const file = path.join(this.root, path.normalize(decodeURIComponent(url.pathname)));
            if (!file.startsWith(this.root) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
                res.writeHead(404, {'Content-Type': 'text/plain'});
                res.end('not found');
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
        return new Promise((resolve) => this.server.close(() => {
            fs.rmSync(this.root, {recursive: true, force: true});
            resolve();
        }));
    }

    // A folder for one test, with extra files in it; returns its name.
    folder(files) {
        const name = 't' + this.next++;
        const dir = path.join(this.root, name);
        fs.mkdirSync(dir);
        for (const [file, text] of Object.entries(files || {}))
            fs.writeFileSync(path.join(dir, file), text);
        return name;
    }

    // Runs the popup subcommand with --insert into <folder>/page.html (a new
    // page unless the files hold one) and returns the page's address. "{dir}"
    // in an argument stands for the folder.
    makePage(args, files) {
        const name = this.folder(files);
        const dir = path.join(this.root, name);
        const page = path.join(dir, 'page.html');
        const [tool, ...pre] = generator();
        const expanded = args.map((a) => a.split('{dir}').join(dir));
        execFileSync(tool, pre.concat(expanded, ['--insert', page, '--scripts', scriptsDir()]),
                     {cwd: path.join(this.root, name), stdio: ['ignore', 'pipe', 'pipe']});
        return {url: this.base + '/' + name + '/page.html', file: page};
    }
}

async function launchBrowser(relaxed) {
    if (!fs.existsSync(CHROMIUM))
        throw new Error('Chromium is missing at ' + CHROMIUM + ' (tools/setup installs it)');
    const {chromium} = requirePlaywright();
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'ondrelo-chromium-'));
    const args = [
        '--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
        '--no-first-run', '--disable-component-update', '--disable-sync'
    ];
    // The driver turns popup blocking off by default; only the relaxed
    // browser keeps it off.
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: CHROMIUM,
        headless: true,
        args: relaxed ? args.concat(['--disable-popup-blocking']) : args,
        ignoreDefaultArgs: relaxed ? [] : ['--disable-popup-blocking'],
    });
    return {
        context,
        async close() {
            await context.close();
            fs.rmSync(profile, {recursive: true, force: true});
        },
    };
}

// Every page records its window.open calls (address, name, features, and
// what the opener then did with the window) in window.__opens, and the
// cookies it writes in window.__cookieWrites.
function recordOpens() {
    window.__opens = [];
    window.__calls = [];
    const open = window.open;
    window.open = function(url, name, features) {
        const entry = {url, name, features, at: Date.now(), moves: []};
        window.__opens.push(entry);
        const w = open.call(window, url, name, features);
        if (w) {
            const blur = w.blur;
            w.blur = function() {
                window.__calls.push('popup.blur');
                return blur.call(w);
            };
            const moveTo = w.moveTo;
            w.moveTo = function(x, y) {
                entry.moves.push([x, y]);
                return moveTo.call(w, x, y);
            };
        }
        return w;
    };
    // What the page asks the browser to store, before any cap on lifetimes.
    window.__cookieWrites = [];
    const cookie = Object.getOwnPropertyDescriptor(Document.prototype, 'cookie');
    Object.defineProperty(document, 'cookie', {
        get() { return cookie.get.call(document); },
        set(text) {
            window.__cookieWrites.push(text);
            cookie.set.call(document, text);
        },
    });
    const focus = window.focus;
    window.focus = function() {
        window.__calls.push('opener.focus');
        return focus.call(window);
    };
}

// A new tab that records; nothing loaded yet.
async function preparePage(context) {
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    await page.addInitScript(recordOpens);
    return {page, errors, opens: () => page.evaluate(() => window.__opens)};
}

async function openPage(context, url) {
    const p = await preparePage(context);
    await p.page.goto(url, {waitUntil: 'load'});
    return p;
}

module.exports = {Site, launchBrowser, preparePage, openPage};
