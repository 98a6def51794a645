'use strict';
// The generated popup code in a real browser: pages written by the popup
// subcommand, served from a loopback site. Each trigger opens the popup
// with its address or its written HTML; centring, the delay, the cookie of
// once per visitor and of reappear, pop-under, and cookies.js itself.

const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {describe, it, before, after} = require('node:test');
const {Site, launchBrowser, preparePage, openPage} = require('./harness');

const T = {timeout: 30000};
const DAY = 24 * 60 * 60 * 1000;

let site;
let strict;   // the browser as it is: popups only from a click
let relaxed;  // popup blocking off, for the automatic kinds

before(async () => {
    site = new Site();
    await site.start();
    strict = await launchBrowser(false);
    relaxed = await launchBrowser(true);
});

after(async () => {
    if (strict)
        await strict.close();
    if (relaxed)
        await relaxed.close();
    if (site)
        await site.stop();
});

// Waits for the popup window the action opens.
// Waits for the popup window the action opens and, when given, for the
// address it loads.
async function popupOf(context, action, address) {
    const [popup] = await Promise.all([context.waitForEvent('page', {timeout: 10000}), action()]);
    if (address)
        await popup.waitForURL('**/' + address, {timeout: 10000});
    return popup;
}

function cookieNamed(cookies, name) {
    return cookies.find((c) => c.name === name);
}

describe('triggers', () => {
    it('a button opens the popup with its address', T, async () => {
        const {url} = site.makePage(
            ['--on', 'button', '--label', 'Open', '--url', 'target.html', '--numbers', '101,2'],
            {'target.html': '<html><body id="t">target</body></html>'});
        const p = await openPage(strict.context, url);
        assert.deepEqual(await p.opens(), []);
        const popup = await popupOf(strict.context, () => p.page.click('input[type=button]'), 'target.html');
        assert.ok(popup.url().endsWith('/target.html'), popup.url());
        assert.equal(await popup.textContent('#t'), 'target');
        const [opened] = await p.opens();
        assert.equal(opened.name, 'window2');
        assert.match(opened.features, /^location=0,scrollbars=0,.*,left=50,top=50,width=350,height=350$/);
        assert.deepEqual(p.errors, []);
        await popup.close();
        await p.page.close();
    });

    it('a link opens the popup with its written HTML', T, async () => {
        const html = '<p id="a">Say "hi" \\o/</p>\r\n<p id="b">C:\\dir</p>\r\n' +
            '<script>document.write("<i id=c>s</i>")</script>';
        const {url} = site.makePage(
            ['--on', 'link', '--label', 'Go', '--html', '{dir}/content.html', '--numbers', '102,3'],
            {'content.html': html});
        const p = await openPage(strict.context, url);
        // A written document is never closed, so its load event need not come.
        const popup = await popupOf(strict.context, () => p.page.click('a'));
        await popup.waitForSelector('#c', {state: 'attached'});
        assert.equal(await popup.textContent('#a'), 'Say "hi" \\o/');
        assert.equal(await popup.textContent('#b'), 'C:\\dir');
        assert.equal(await popup.textContent('#c'), 's');
        assert.deepEqual(p.errors, []);
        await popup.close();
        await p.page.close();
    });

    it('page entry opens the popup when blocking is relaxed', T, async () => {
        const {url} = site.makePage(['--on', 'entry', '--url', 'target.html', '--numbers', '103,4'],
                                    {'target.html': '<html><body>entry</body></html>'});
        const p = await preparePage(relaxed.context);
        const popup = await popupOf(relaxed.context, () => p.page.goto(url), 'target.html');
        assert.ok(popup.url().endsWith('/target.html'));
        await popup.close();
        await p.page.close();
    });

    it('page entry opens nothing in a browser that blocks popups', T, async () => {
        const {url} = site.makePage(['--on', 'entry', '--url', 'target.html', '--numbers', '104,4'],
                                    {'target.html': 'x'});
        const p = await openPage(strict.context, url);
        await p.page.waitForTimeout(300);
        assert.equal(strict.context.pages().filter((pg) => pg.url().endsWith('/target.html')).length, 0);
        await p.page.close();
    });
});

describe('position and timing', () => {
    it('a centred popup is placed from the screen size', T, async () => {
        const {url} = site.makePage(
            ['--center', '--width', '300', '--height', '200', '--on', 'button', '--label', 'C',
             '--url', 'target.html', '--numbers', '105,6'],
            {'target.html': 'x'});
        const p = await openPage(strict.context, url);
        const popup = await popupOf(strict.context, () => p.page.click('input[type=button]'));
        const screen = await p.page.evaluate(() => [screen.width, screen.height]);
        const left = Math.max(0, (screen[0] - 300) / 2);
        const top = Math.max(0, (screen[1] - 200) / 2);
        const [opened] = await p.opens();
        assert.ok(opened.features.endsWith(`left=${left},top=${top},width=300,height=200`),
                  opened.features);
        assert.deepEqual(opened.moves, [[left, top]]);
        await popup.close();
        await p.page.close();
    });

    it('the delay holds the popup back', T, async () => {
        const {url} = site.makePage(
            ['--on', 'entry', '--delay', '1', '--url', 'target.html', '--numbers', '107,8'],
            {'target.html': 'x'});
        const p = await openPage(relaxed.context, url);
        await p.page.waitForFunction(() => window.__opens.length === 1, null, {timeout: 5000});
        const [opened] = await p.opens();
        // Measured on the page's own clock from the end of its load, when
        // the timer starts, so that a slow test machine cannot shorten it.
        const loaded = await p.page.evaluate(
            () => performance.timeOrigin + performance.timing.loadEventStart -
                  performance.timing.navigationStart);
        assert.ok(opened.at - loaded >= 950, 'opened after ' + (opened.at - loaded) + ' ms');
        await p.page.close();
    });

    it('pop-under sends the popup behind the page', T, async () => {
        const {url} = site.makePage(
            ['--on', 'button', '--label', 'U', '--popunder', '--url', 'target.html', '--numbers',
             '109,10'],
            {'target.html': 'x'});
        const p = await openPage(strict.context, url);
        const popup = await popupOf(strict.context, () => p.page.click('input[type=button]'));
        assert.deepEqual(await p.page.evaluate(() => window.__calls), ['popup.blur', 'opener.focus']);
        await popup.close();
        await p.page.close();
    });
});

describe('cookies', () => {
    it('once per visitor: a reload does not open it again', T, async () => {
        const {url} = site.makePage(['--on', 'entry', '--once', '--url', 'target.html', '--numbers',
                                     '111,12'],
                                    {'target.html': 'x'});
        const p = await openPage(relaxed.context, url);
        assert.equal((await p.opens()).length, 1);
        const cookie = cookieNamed(await relaxed.context.cookies(), 'popup111');
        assert.equal(cookie.value, 'y');
        assert.equal(cookie.path, '/');
        // The page asks for 1000 days; browsers cap a cookie's lifetime
        // (Chromium at 400 days).
        const [written] = await p.page.evaluate(() => window.__cookieWrites);
        const asked = (Date.parse(/expires=([^;]*)/.exec(written)[1]) - Date.now()) / DAY;
        assert.ok(asked > 999 && asked <= 1000, written);
        assert.match(written, /^popup111=y; expires=.*; path=\/; SameSite=Lax$/);
        const days = (cookie.expires * 1000 - Date.now()) / DAY;
        assert.ok(days > 399, String(days));
        await p.page.reload({waitUntil: 'load'});
        await p.page.waitForTimeout(200);
        assert.deepEqual(await p.opens(), []);
        await p.page.close();
    });

    it('reappear: the cookie lasts the given days, then it opens again', T, async () => {
        const {url} = site.makePage(['--on', 'entry', '--reappear', '3', '--url', 'target.html',
                                     '--numbers', '113,14'],
                                    {'target.html': 'x'});
        const p = await openPage(relaxed.context, url);
        assert.equal((await p.opens()).length, 1);
        const cookie = cookieNamed(await relaxed.context.cookies(), 'popup113');
        const days = (cookie.expires * 1000 - Date.now()) / DAY;
        assert.ok(days > 2.99 && days <= 3, String(days));
        await p.page.reload({waitUntil: 'load'});
        assert.deepEqual(await p.opens(), []);
        // When the cookie has expired the popup comes back.
        await relaxed.context.clearCookies({name: 'popup113'});
        await p.page.reload({waitUntil: 'load'});
        assert.equal((await p.opens()).length, 1);
        await p.page.close();
    });

    it('cookies.js round-trips any text', T, async () => {
        const name = site.folder({
            'cookies.js': fs.readFileSync(path.join(process.env.ONDRELO_SCRIPTS_DIR, 'cookies.js')),
            'page.html': '<html><head><script src="cookies.js"></script></head><body></body></html>',
        });
        const page = await strict.context.newPage();
        await page.goto(site.base + '/' + name + '/page.html');
        const texts = [['a;b=c d', 'x; y=z'], ['Grüße', 'Ærøskøbing ключ 日本'], ['plain', ''],
                       ['%41', '100%']];
        const back = await page.evaluate((texts) => {
            for (const [n, v] of texts)
                setcookie(n, v, 2);
            return texts.map(([n]) => getcookie(n)).concat([getcookie('missing'), getcookie('a')]);
        }, texts);
        assert.deepEqual(back, texts.map(([, v]) => v).concat(['', '']));
        const cookies = await strict.context.cookies();
        const stored = cookies.find((c) => c.name === encodeURIComponent('a;b=c d'));
        assert.equal(stored.sameSite, 'Lax');
        assert.equal(stored.path, '/');
        const days = (stored.expires * 1000 - Date.now()) / DAY;
        assert.ok(days > 1.99 && days <= 2, String(days));
        await page.close();
    });
});
