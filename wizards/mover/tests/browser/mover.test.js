'use strict';
// The rollover runtime in headless Chromium on pages written by
// `ondrelo-gen button --insert`: hover shows the active image, mouse down the
// click image, leaving restores the normal one; two buttons on one page do
// not disturb each other; the status text becomes the tooltip; a tap shows
// the click image and still follows the link. The runtime itself must parse
// as ECMAScript 3.

const assert = require('node:assert/strict');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const {execFileSync} = require('node:child_process');
const {describe, it, before, after} = require('node:test');

const CHROMIUM = process.env.ONDRELO_CHROMIUM || '/usr/bin/chromium';
const T = {timeout: 30000};

function need(name) {
    const value = process.env[name];
    assert.ok(value, name + ' is not set');
    return value;
}

function requireModule(name) {
    try {
        return require(name);
    } catch (e) {
        throw new Error(name + ' is not installed: run tools/browser-deps BUILD_DIR');
    }
}

// A 1 by 1 GIF of one colour.
function gif(r, g, b) {
    return Buffer.from([
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 1, 0, 1, 0, 0x80, 0, 0, r, g, b, 0, 0, 0,
        0x2c, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3b
    ]);
}

function gen(args) {
    return execFileSync(need('ONDRELO_GEN'), args, {encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe']});
}

let dir;
let server;
let base;
let browser;

before(async () => {
    dir = fs.mkdtempSync(path.join(os.tmpdir(), 'ondrelo-mover-'));
    fs.mkdirSync(path.join(dir, 'img'));
    const colours = {n: [255, 0, 0], a: [0, 255, 0], c: [0, 0, 255]};
    for (const b of ['one', 'two']) {
        for (const k of Object.keys(colours))
            fs.writeFileSync(path.join(dir, 'img', b + '-' + k + '.gif'), gif(...colours[k]));
    }
    fs.writeFileSync(path.join(dir, 'target.html'), '<html><body>target</body></html>');
    const button = (name, number, extra) => [
        'button', '--numbers', String(number), '--normal', path.join(dir, 'img', name + '-n.gif'),
        '--active', path.join(dir, 'img', name + '-a.gif'), '--click',
        path.join(dir, 'img', name + '-c.gif'), '--normal-size', '40x20', '--active-size',
        '40x20', '--click-size', '40x20'
    ].concat(extra);
    const page = path.join(dir, 'two.html');
    gen(button('one', 101, ['--url', 'target.html', '--status', 'First "button"', '--insert', page, '--new']));
    gen(button('two', 202, ['--url', '#', '--status', "Second's", '--alt', 'Two', '--insert', page]));
    // A page whose link already has a title of its own.
    const titled = path.join(dir, 'titled.html');
    gen(button('one', 303, ['--status', 'Status', '--insert', titled, '--new']));
    fs.writeFileSync(titled, fs.readFileSync(titled, 'utf8').replace("<A name='anchor303'", "<A title='Own' name='anchor303'"));

    server = http.createServer((req, res) => {
        const file = path.join(dir, decodeURIComponent(new URL(req.url, 'http://x').pathname));
        if (!file.startsWith(dir) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
            res.writeHead(404);
            res.end();
            return;
        }
        const type = file.endsWith('.gif') ? 'image/gif' : file.endsWith('.js') ? 'text/javascript' : 'text/html';
        res.writeHead(200, {'Content-Type': type});
        res.end(fs.readFileSync(file));
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    base = 'http://127.0.0.1:' + server.address().port;
    assert.ok(fs.existsSync(CHROMIUM), 'Chromium is missing at ' + CHROMIUM);
    browser = await requireModule('playwright-core').chromium.launch({
        executablePath: CHROMIUM,
        headless: true,
        args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking'],
    });
});

after(async () => {
    if (browser)
        await browser.close();
    if (server)
        await new Promise((resolve) => server.close(resolve));
    if (dir)
        fs.rmSync(dir, {recursive: true, force: true});
});

async function open(name, options) {
    const context = await browser.newContext(options || {});
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    await page.goto(base + '/' + name);
    return {context, page, errors};
}

const src = (page, name) => page.evaluate((n) => document.images[n].getAttribute('src'), name);

describe('mover2.js in a browser', () => {
    it('copied the runtime next to the page', T, () => {
        assert.ok(fs.existsSync(path.join(dir, 'mover2.js')));
        const html = fs.readFileSync(path.join(dir, 'two.html'), 'utf8');
        assert.equal(html.split("<SCRIPT src='mover2.js'").length - 1, 1);
        assert.ok(html.indexOf('anchor202') < html.indexOf('anchor101'), 'second button first');
    });

    it('hover, press, leave and release show the right images; a click follows the link', T, async () => {
        const {context, page, errors} = await open('two.html');
        try {
            const one = page.locator('img[name=image101]');
            assert.equal(await src(page, 'image101'), 'img/one-n.gif');
            await one.hover();
            assert.equal(await src(page, 'image101'), 'img/one-a.gif');
            await page.mouse.down();
            assert.equal(await src(page, 'image101'), 'img/one-c.gif');
            // Leaving while held down restores the normal image; releasing
            // outside the link clicks nothing.
            await page.mouse.move(600, 500);
            assert.equal(await src(page, 'image101'), 'img/one-n.gif');
            await page.mouse.up();
            assert.equal(await src(page, 'image101'), 'img/one-n.gif');
            await one.hover();
            assert.equal(await src(page, 'image101'), 'img/one-a.gif');
            await page.mouse.move(600, 500);
            assert.equal(await src(page, 'image101'), 'img/one-n.gif');
            assert.deepEqual(errors, []);
            await Promise.all([page.waitForURL(base + '/target.html'), one.click()]);
        } finally {
            await context.close();
        }
    });

    it('two buttons on one page do not interfere', T, async () => {
        const {context, page, errors} = await open('two.html');
        try {
            await page.locator('img[name=image202]').hover();
            assert.equal(await src(page, 'image202'), 'img/two-a.gif');
            assert.equal(await src(page, 'image101'), 'img/one-n.gif');
            await page.mouse.down();
            assert.equal(await src(page, 'image202'), 'img/two-c.gif');
            assert.equal(await src(page, 'image101'), 'img/one-n.gif');
            await page.mouse.up();
            await page.locator('img[name=image101]').hover();
            assert.equal(await src(page, 'image202'), 'img/two-n.gif');
            assert.equal(await src(page, 'image101'), 'img/one-a.gif');
            const sizes = await page.evaluate(() => [document.images.image101.width, document.images.image101.height]);
            assert.deepEqual(sizes, [40, 20]);
            assert.deepEqual(errors, []);
        } finally {
            await context.close();
        }
    });

    it('status text with quotes becomes the tooltip unless the link has one', T, async () => {
        let {context, page} = await open('two.html');
        try {
            const titles = await page.evaluate(() => [document.anchors.anchor101.title, document.anchors.anchor202.title]);
            assert.deepEqual(titles, ['First "button"', "Second's"]);
            assert.equal(await page.evaluate(() => document.images.image202.alt), 'Two');
        } finally {
            await context.close();
        }
        ({context, page} = await open('titled.html'));
        try {
            assert.equal(await page.evaluate(() => document.anchors.anchor303.title), 'Own');
        } finally {
            await context.close();
        }
    });

    it('a tap shows the click image and follows the link', T, async () => {
        const {context, page, errors} = await open('two.html', {hasTouch: true});
        try {
            // The image changes are reported to this side as they happen: the
            // link is followed at once, and a wait polled inside the page
            // would then look at the next page and never end.
            let showClick;
            const seen = new Promise((resolve) => { showClick = resolve; });
            await page.exposeFunction('reportSrc', (value) => {
                if (value === 'img/one-c.gif') {
                    showClick();
                }
            });
            await page.evaluate(() => {
                new MutationObserver(() => window.reportSrc(document.images.image101.getAttribute('src')))
                    .observe(document.images.image101, {attributes: true, attributeFilter: ['src']});
            });
            const navigation = page.waitForURL(base + '/target.html');
            await page.locator('img[name=image101]').tap();
            await seen;
            await navigation;
            assert.deepEqual(errors, []);
        } finally {
            await context.close();
        }
    });

    it('the runtime parses as ECMAScript 3', () => {
        const source = fs.readFileSync(path.join(need('ONDRELO_SCRIPTS_DIR'), 'mover2.js'), 'utf8');
        requireModule('acorn').parse(source, {ecmaVersion: 3, sourceType: 'script'});
    });
});
