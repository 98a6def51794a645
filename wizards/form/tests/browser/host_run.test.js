'use strict';
// The pages the form wizard wrote when it was run through the program's
// window (host_form_run): a new page with a form of every element type, and
// a hand-written form the wizard added validations to. Each is opened from a
// loopback site with the script copy that the wizard put beside it; a bad
// entry must stop the submission with its message, good entries must reach
// the site.

const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {describe, it, before, after} = require('node:test');
const {Site, launchBrowser, FormPage} = require('./harness');

const DIR = process.env.ONDRELO_FORM_RUN_DIR;
const T = {
    timeout: 60000
};

let site;
let browser;

before(async () => {
    assert.ok(DIR && fs.existsSync(path.join(DIR, 'signup.html')),
              'the pages of host_form_run are missing in ' + DIR);
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

function read(name) {
    return fs.readFileSync(path.join(DIR, name), 'utf8');
}

// Good entries for every field of the signup form.
const GOOD = {
    fullname: 'Ann Lee',
    code: 'AB123',
    age: '30',
    email: 'ann@example.com',
    email2: 'ann@example.com',
    low: '3',
    high: '5',
    nick: 'annie',
    topics: ['news', 'sport'],
    terms: true,
    spam: false,
    size: ['S'],
    notes: 'Hello there',
    colour: 'red',
};

async function closePage(page) {
    let timer;
    const stall = new Promise((resolve) => {
        timer = setTimeout(resolve, 5000);
    });
    await Promise.race([page.close().catch(() => {}), stall]);
    clearTimeout(timer);
}

// Opens the page, fills it in, attaches the CV when asked and submits:
// with a message, the submission must be refused with exactly that alert;
// without, it must arrive.
async function check(html, values, file, message) {
    const url = site.addPage(html);
    const fp = await FormPage.open(browser.context, url);
    try {
        await fp.fill(values);
        if (file)
            await fp.page.setInputFiles('input[name=cv]', file);
        if (message) {
            assert.equal(await fp.submitAndSeeIfCancelled(), true,
                         'the submission was not cancelled');
            assert.deepEqual(fp.dialogs, [message]);
            await fp.page.waitForTimeout(100);
            assert.deepEqual(site.submissionsFrom(url), []);
        } else {
            const arrived = fp.page.waitForURL(/\/submit/);
            await fp.submit();
            await arrived;
            assert.deepEqual(fp.dialogs, []);
            const sent = site.submissionsFrom(url);
            assert.equal(sent.length, 1);
            for (const [name, value] of Object.entries(values))
                if (typeof value === 'string')
                    assert.deepEqual(sent[0].fields.find(([k]) => k === name), [name, value]);
        }
        assert.deepEqual(fp.errors, []);
    } finally {
        await closePage(fp.page);
    }
}

describe('a form of every element type, designed in the wizard', () => {
    const cv = () => path.join(DIR, 'signup.html');

    it('sends good entries', T, async () => {
        await check(read('signup.html'), GOOD, cv());
    });

    it('stops an empty form at its first field with the author\'s own message', T, async () => {
        await check(read('signup.html'), {}, null, 'Please tell us your name');
    });

    // One bad entry each, the others good.
    const cases = [
        ['letters only', {fullname: 'Ann 2'}, 'Alphabetic input expected for fullname'],
        ['too short', {fullname: 'Al'}, 'Please provide a value with more than 3 characters for fullname'],
        ['pattern', {code: 'ab123'}, 'Please provide a valid input for code'],
        ['letters and digits', {code: 'AB-12'}, 'Alpha-Numeric input expected for code'],
        ['a number', {age: 'thirty'}, 'Please input a numeric value for age'],
        ['below the bound', {age: '12'}, 'Please provide a value greater than 17 for age'],
        ['e-mail', {email: 'ann@', email2: 'ann@'}, 'Please provide a valid email address'],
        ['confirmation', {email2: 'ann@example.org'}, 'email2 must be Equal to email'],
        ['ordering', {low: '9'}, 'low must be Less than high'],
        ['different', {nick: 'Ann Lee'}, 'nick must be different from fullname'],
        ['group minimum', {topics: ['news']}, 'Please select at least 2  check boxes for topics'],
        ['box to tick', {terms: false}, 'Please check terms'],
        ['box not to tick', {spam: true}, 'Can\'t proceed due to your selection for \'spam\''],
        ['one of the group', {size: []}, 'Please select one option'],
        ['option not to choose', {size: ['X']}, 'Can\'t proceed as you selected this option.'],
        ['text area', {notes: 'Hi'}, 'Please provide a value with minimum 5 characters'],
        ['list option', {colour: 'none'}, 'Please select an option from the list'],
    ];
    for (const [name, change, message] of cases) {
        it('stops ' + name, T, async () => {
            await check(read('signup.html'), Object.assign({}, GOOD, change), cv(), message);
        });
    }

    it('stops a missing file', T, async () => {
        await check(read('signup.html'), GOOD, null, 'Please select the file to upload.');
    });
});

describe('validations added to a hand-written form', () => {
    it('keeps the page and sends good entries', T, async () => {
        const html = read('contact.html');
        assert.match(html, /<h1>Contact us<\/h1>/);
        assert.match(html, /We answer within a day\./);
        await check(html, {who: 'Ann', mail: 'ann@example.com', text: 'Hello'}, null);
    });

    it('stops bad entries', T, async () => {
        const html = read('contact.html');
        await check(html, {}, null, 'Please enter the value for who');
        await check(html, {who: 'Ann', mail: 'ann'}, null, 'Please provide a valid email address');
        await check(html, {who: 'Ann', mail: 'ann@example.com', text: 'x'.repeat(51)}, null,
                    'The input you provided for text exceeds the limit(50 characters)');
    });
});
