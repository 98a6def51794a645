'use strict';
// The drop-down link list in a real browser, on pages written by the
// wizard's own insertion: choosing an entry opens its URL in its target,
// the prompt row does nothing, and the keyboard steps without leaving.

const assert = require('node:assert/strict');
const {describe, it, before, after} = require('node:test');
const {gen, Site, launchBrowser, openPage, sleep} = require('./harness');

let site;
let browser;
let pageNo = 0;

before(async () => {
    site = new Site();
    await site.start();
    browser = await launchBrowser();
});

after(async () => {
    if (browser)
        await browser.close();
    if (site)
        await site.stop();
});

const LINKS = [
    ['Select Link ...', '', ''],
    ['New window', 'landing/new.html', '_blank'],
    ['Same window', 'landing/same.html', '_self'],
    ['No target', 'landing/none.html', ''],
    ['In frame', 'landing/framed.html', 'side'],
    ['Top', 'landing/top.html', '_top'],
    ['Parent', 'landing/parent.html', '_parent'],
    ['Quote "q" and back\\slash', 'landing/q.html?a="b"&c=\\d', 'side'],
];

// A page with a frame named "side", the list inserted after its body tag.
function listPage() {
    const name = 'list' + (++pageNo) + '.html';
    site.write(name,
               '<html><head><title>t</title></head><body>\n' +
                   '<iframe name="side" src="about:blank"></iframe>\n</body></html>');
    const args = ['dlink'];
    for (const l of LINKS)
        args.push('--link', l[0], l[1], l[2]);
    gen(args.concat(['--insert', site.file(name)]));
    return name;
}

const SELECT = 'select';

async function frameUrl(page) {
    return page.frame({name: 'side'}).url();
}

describe('dlink.js', () => {
    it('the written page includes the script and the list', async () => {
        const html = site.read(listPage());
        assert.match(html, /<SCRIPT src='dlink.js' language='JavaScript'><\/SCRIPT>/);
        assert.match(html, /<option value='0' selected>Select Link \.\.\./);
    });

    it('"_blank" opens a new window and this page stays', async () => {
        const page = await openPage(browser.context, site.url(listPage()));
        const opened = browser.context.waitForEvent('page');
        await page.selectOption(SELECT, '1');
        const popup = await opened;
        await popup.waitForLoadState();
        assert.equal(new URL(popup.url()).pathname, '/landing/new.html');
        assert.match(page.url(), /list\d+\.html$/);
        assert.equal(await page.$eval(SELECT, (s) => s.selectedIndex), 0);
        assert.deepEqual(page.errors, []);
        await popup.close();
        await page.close();
    });

    for (const [value, path] of [['2', '/landing/same.html'], ['3', '/landing/none.html']]) {
        it('entry ' + value + ' opens in this window', async () => {
            const page = await openPage(browser.context, site.url(listPage()));
            await Promise.all([page.waitForURL('**' + path), page.selectOption(SELECT, value)]);
            assert.equal(new URL(page.url()).pathname, path);
            await page.close();
        });
    }

    it('a frame name opens in that frame, with quotes and backslashes intact', async () => {
        const page = await openPage(browser.context, site.url(listPage()));
        const frame = page.frame({name: 'side'});
        await Promise.all([frame.waitForURL('**/landing/framed.html'),
                           page.selectOption(SELECT, '4')]);
        await Promise.all([frame.waitForURL('**/landing/q.html*'), page.selectOption(SELECT, '7')]);
        const u = new URL(await frameUrl(page));
        assert.equal(u.searchParams.get('a'), '"b"');
        assert.equal(u.searchParams.get('c'), '\\d');
        assert.match(page.url(), /list\d+\.html$/);
        assert.deepEqual(page.errors, []);
        await page.close();
    });

    it('"_top" and "_parent" leave the frame the list stands in', async () => {
        const inner = listPage();
        for (const [value, path] of [['5', '/landing/top.html'], ['6', '/landing/parent.html']]) {
            site.write('outer.html', '<html><body><iframe name="f" src="' + inner +
                                         '"></iframe></body></html>');
            const page = await openPage(browser.context, site.url('outer.html'));
            const frame = page.frame({name: 'f'});
            await frame.waitForSelector(SELECT);
            await Promise.all([page.waitForURL('**' + path), frame.selectOption(SELECT, value)]);
            assert.equal(new URL(page.url()).pathname, path);
            await page.close();
        }
    });

    it('the prompt row does nothing', async () => {
        const page = await openPage(browser.context, site.url(listPage()));
        const before = site.requests.length;
        let popups = 0;
        const count = () => popups++;
        browser.context.on('page', count);
        // Select another entry without events, then choose the prompt row.
        await page.$eval(SELECT, (s) => { s.selectedIndex = 1; });
        await page.selectOption(SELECT, '0');
        await sleep(500);
        browser.context.off('page', count);
        assert.equal(popups, 0);
        assert.match(page.url(), /list\d+\.html$/);
        assert.equal(await frameUrl(page), 'about:blank');
        // No entry's address was asked for (the browser's own late requests,
        // such as the page's icon, do not count).
        const asked = site.requests.slice(before).filter((r) => !r.startsWith('/favicon'));
        assert.deepEqual(asked.filter((r) => r.includes('/landing/')), []);
        assert.deepEqual(page.errors, []);
        await page.close();
    });

    it('arrow keys step through the list; Enter opens the entry', async () => {
        const page = await openPage(browser.context, site.url(listPage()));
        await page.focus(SELECT);
        await page.keyboard.press('ArrowDown');
        await page.keyboard.press('ArrowDown');
        await sleep(400);
        assert.match(page.url(), /list\d+\.html$/, 'an arrow press left the page');
        assert.equal(await page.$eval(SELECT, (s) => s.selectedIndex), 2);
        await Promise.all([page.waitForURL('**/landing/same.html'), page.keyboard.press('Enter')]);
        await page.close();
    });
});
