'use strict';
// Pages rewritten by the link editor, in a real browser: every link opens in
// the target written into it, and hovering a link runs its status handler
// without a script error, whatever quotes its text holds.

const assert = require('node:assert/strict');
const {describe, it, before, after} = require('node:test');
const {gen, Site, launchBrowser, openPage} = require('./harness');

let site;
let browser;

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

const PAGE =
    '<html><head><title>links</title>\n' +
    '<script>var trap = "<a href=\'landing/script.html\'>not a link</a>";</script></head>\n' +
    '<body>\n<!-- <a href="landing/comment.html">commented</a> -->\n' +
    '<iframe name="side" src="about:blank"></iframe>\n' +
    '<p><a id="l0" href="landing/zero.html">Zero</a>\n' +
    '<a id="l1" href="landing/one.html" target="_self" ' +
    'onmouseover="window.status=\'old\'; return true;">One</a>\n' +
    '<abbr title="x">AB</abbr> <a id="l2" href=\'landing/two.html\'>Two</a>\n' +
    '<a id="l3" href="landing/three.html">Three</a></p>\n</body></html>\n';

// Status texts and targets for the four links, as the user types them.
const EDITS = [
    ['It\'s "quoted" & <b>bold</b>', '_blank'],
    ['Back\\slash \'n\' </script>', 'side'],
    ['', ''],
    ['plain', 'my\'frame'],
];

function rewrite(name) {
    site.write(name, PAGE);
    const listed = gen(['links', site.file(name), '--list']).split('\n').filter((l) => l);
    assert.equal(listed.length, 4);
    assert.deepEqual(listed[1].split('\t'), ['One', 'landing/one.html', 'old', '_self']);
    const lines = listed.map((line, i) => {
        const c = line.split('\t');
        const esc = (s) => s.replace(/\\/g, '\\\\');
        return [c[0], c[1], esc(EDITS[i][0]), esc(EDITS[i][1])].join('\t');
    });
    gen(['links', site.file(name), '--apply', '-'], lines.join('\n') + '\n');
}

describe('a rewritten page', () => {
    it('lists back exactly what was applied', () => {
        rewrite('read.html');
        const listed = gen(['links', site.file('read.html'), '--list']).split('\n');
        EDITS.forEach((e, i) => {
            const c = listed[i].split('\t');
            assert.equal(c[2].replace(/\\\\/g, '\\'), e[0]);
            assert.equal(c[3].replace(/\\\\/g, '\\'), e[1]);
        });
        const html = site.read('read.html');
        assert.ok(html.includes('<a id="l2" href=\'landing/two.html\'>Two</a>'), 'link 2 changed');
        assert.ok(html.includes('<!-- <a href="landing/comment.html">commented</a> -->'));
        assert.ok(html.includes('var trap = "<a href=\'landing/script.html\'>not a link</a>";'));
    });

    it('hovering each link sets its status text without a script error', async () => {
        rewrite('hover.html');
        const page = await openPage(browser.context, site.url('hover.html'));
        for (let i = 0; i < EDITS.length; ++i) {
            await page.hover('#l' + i);
            if (EDITS[i][0] !== '')
                assert.equal(await page.evaluate(() => window.status), EDITS[i][0]);
            await page.mouse.move(0, 0);
        }
        assert.deepEqual(page.errors, []);
        await page.close();
    });

    it('"_blank" opens a new window', async () => {
        rewrite('blank.html');
        const page = await openPage(browser.context, site.url('blank.html'));
        const opened = browser.context.waitForEvent('page');
        await page.click('#l0');
        const popup = await opened;
        await popup.waitForLoadState();
        assert.equal(new URL(popup.url()).pathname, '/landing/zero.html');
        assert.match(page.url(), /blank\.html$/);
        await popup.close();
        await page.close();
    });

    it('a frame name opens in that frame', async () => {
        rewrite('frame.html');
        const page = await openPage(browser.context, site.url('frame.html'));
        const frame = page.frame({name: 'side'});
        await Promise.all([frame.waitForURL('**/landing/one.html'), page.click('#l1')]);
        assert.match(page.url(), /frame\.html$/);
        await page.close();
    });

    it('a name with an apostrophe is one window name', async () => {
        rewrite('named.html');
        const page = await openPage(browser.context, site.url('named.html'));
        const opened = browser.context.waitForEvent('page');
        await page.click('#l3');
        const popup = await opened;
        await popup.waitForLoadState();
        assert.equal(await popup.evaluate(() => window.name), 'my\'frame');
        await popup.close();
        await page.close();
    });
});
