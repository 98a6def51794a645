'use strict';
// The validator runtime in a real browser: generated form pages are served
// from a loopback site, filled in and submitted. A refused submission must
// show exactly the validation's message, focus its element and send nothing;
// an accepted one must reach the site's /submit page.

const assert = require('node:assert/strict');
const {describe, it, before, after} = require('node:test');
const {buildPage, Site, launchBrowser, FormPage} = require('./harness');

// Pages are independent: each suite runs a few at a time.
const PARALLEL = {
    concurrency: 4
};
// A page that hangs fails its test instead of the whole run.
const T = {
    timeout: 60000
};

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

const SUBMIT = {
    type: 'button',
    name: 'send',
    kind: 0,
    caption: 'Send'
};

function textbox(name, validations, extra) {
    return Object.assign(
        {type: 'text', name, caption: name, size: 20, value: '', validations: validations || []},
        extra || {});
}

function form(elements, extra) {
    return Object.assign(
        {
            name: 'myform',
            action: '/submit',
            method: 1,
            tableLayout: 1,
            elements: elements.concat([SUBMIT])
        },
        extra || {});
}

async function open(desc, transform) {
    let html = buildPage(desc);
    if (transform)
        html = transform(html);
    return FormPage.open(browser.context, site.addPage(html));
}

// Submits and expects the browser to refuse with one alert showing message
// (none when message is null).
async function expectRefused(fp, message, focus) {
    assert.equal(await fp.submitAndSeeIfCancelled(), true, 'the submission was not cancelled');
    assert.deepEqual(fp.dialogs, message === null ? [] : [message]);
    // Nothing may reach the site even so.
    await fp.page.waitForTimeout(100);
    assert.deepEqual(site.submissionsFrom(fp.url), []);
    assert.equal(fp.page.url(), fp.url);
    if (focus !== undefined)
        assert.equal(await fp.focusedName(), focus);
    assert.deepEqual(fp.errors, []);
}

// Submits and expects the data to reach the site without any alert.
async function expectSubmitted(fp) {
    const arrived = fp.page.waitForURL(/\/submit/);
    await fp.submit();
    await arrived;
    assert.deepEqual(fp.dialogs, []);
    const sent = site.submissionsFrom(fp.url);
    assert.equal(sent.length, 1);
    assert.deepEqual(fp.errors, []);
    return sent[0];
}

// Closing a page that is still navigating away can stall in the driver; a
// failed case must not hold up the others, and the context closes it anyway.
async function closePage(page) {
    let timer;
    const stall = new Promise((resolve) => {
        timer = setTimeout(resolve, 5000);
    });
    await Promise.race([page.close().catch(() => {}), stall]);
    clearTimeout(timer);
}

async function check(desc, values, refusal, transform) {
    const fp = await open(desc, transform);
    try {
        await fp.fill(values);
        if (refusal) {
            await expectRefused(fp, refusal.message, refusal.focus);
            return null;
        }
        return await expectSubmitted(fp);
    } finally {
        await closePage(fp.page);
    }
}

// One text field "f" (and a second one "g" for comparisons) per case:
// the bad input must be refused with the message, the good one submitted.
const TEXT_CASES = [
    {title: 'req', v: {kind: 1}, bad: [''], good: ['x']},
    {title: 'req with blanks only', v: {kind: 1}, bad: ['   '], good: [' x ']},
    {title: 'alpha', v: {kind: 2, option: 0}, bad: ['abc1', 'ab c'], good: ['abcXYZ', '']},
    {title: 'alpha_s', v: {kind: 2, option: 1}, bad: ['ab1 c', 'a-b'], good: ['ab c', '']},
    {title: 'alnum', v: {kind: 3, option: 0}, bad: ['ab 1', 'a_1'], good: ['ab12', '']},
    {title: 'alnum_s', v: {kind: 3, option: 1}, bad: ['ab-1'], good: ['ab 12', '']},
    {title: 'num', v: {kind: 4}, bad: ['12a', '1.2.3', '-'], good: ['42', '-12.5', '']},
    {
        title: 'email',
        v: {kind: 5},
        bad: ['a@b', 'a b@example.com', 'example.com', 'a@@example.com'],
        good: ['a.b@example.com', 'x+y@mail.example.org', '']
    },
    {
        title: 'regexp with \\d',
        v: {kind: 6, text: '^\\d{5}$'},
        bad: ['1234', 'd5555', 'abcde'],
        good: ['12345', '']
    },
    // A backslash that escapes a dot: a single backslash in the page would
    // leave a bare dot, which accepts "axtxt".
    {title: 'regexp with \\.', v: {kind: 6, text: '^\\w+\\.txt$'}, bad: ['axtxt'], good: ['a.txt']},
    {
        title: 'regexp with a double quote',
        v: {kind: 6, text: '^"[a-z]+"$'},
        bad: ['abc'],
        good: ['"abc"']
    },
    {title: 'maxlen', v: {kind: 7, number: 5}, bad: ['abcdef'], good: ['abcde', '']},
    {title: 'minlen', v: {kind: 8, number: 3}, bad: ['ab', 'a'], good: ['abc', '']},
    {
        title: 'lt with decimals',
        v: {kind: 9, number: 10.5},
        bad: ['10.5', '11', 'ten'],
        good: ['10.25', '-3', '']
    },
    {
        title: 'gt with decimals',
        v: {kind: 10, number: 2.5},
        bad: ['2.5', '-7', 'x'],
        good: ['2.75', '100', '']
    },
];

const MESSAGES = {
    1: 'Please enter the value for f',
    2: 'Alphabetic input expected for f',
    3: 'Alpha-Numeric input expected for f',
    4: 'Please input a numeric value for f',
    5: 'Please provide a valid email address',
    6: 'Please provide a valid input for f',
    7: 'Please provide a value with less than 5 characters for f',
    8: 'Please provide a value with more than 3 characters for f',
    9: 'Please provide a value less than 10.5 for f',
    10: 'Please provide a value greater than 2.5 for f',
};

describe('descriptors on a text field', PARALLEL, () => {
    for (const c of TEXT_CASES) {
        // The text box editor's default message.
        const message = MESSAGES[c.v.kind];
        const v = Object.assign({number: 0, text: '', option: 0}, c.v);
        const desc = form([textbox('f', [v])]);
        for (const bad of c.bad) {
            it(`${c.title} refuses ${JSON.stringify(bad)}`, T, async () => {
                await check(desc, {f: bad}, {message, focus: 'f'});
            });
        }
        for (const good of c.good) {
            it(`${c.title} accepts ${JSON.stringify(good)}`, T, async () => {
                const sub = await check(desc, {f: good});
                assert.deepEqual(sub.fields.find(([k]) => k === 'f'), ['f', good]);
            });
        }
    }
});

// Comparisons: equality of the texts; orderings numeric when both values
// are numbers, text otherwise.
const COMPARE_CASES = [
    {
        kind: 11,
        word: 'Equal to',
        bad: [['abc', 'abd'], ['', 'secret'], ['10', '10.0']],
        good: [['abc', 'abc'], ['10', '10'], ['', '']]
    },
    {
        kind: 16,
        word: 'different from',
        bad: [['abc', 'abc'], ['5', '5']],
        good: [['abc', 'abd'], ['5', '5.00'], ['', '']]
    },
    // "9" sorts after "10" as text: these only pass as numbers.
    {
        kind: 12,
        word: 'Less than',
        bad: [['10', '9'], ['b', 'a'], ['3', '3']],
        good: [['9', '10'], ['a', 'b'], ['', '5']]
    },
    {
        kind: 13,
        word: 'Less than or Equal to ',
        bad: [['11', '10'], ['b', 'a']],
        good: [['10', '10'], ['9', '10'], ['a', 'a']]
    },
    {
        kind: 14,
        word: 'Greater than',
        bad: [['9', '10'], ['3', '3'], ['apple', 'banana']],
        good: [['10', '9'], ['b', 'a'], ['5', '']]
    },
    {
        kind: 15,
        word: 'Greater than or Equal To',
        bad: [['9', '10'], ['apple', 'banana']],
        good: [['10', '10'], ['banana', 'banana'], ['2.5', '2.25']]
    },
];

describe('element comparisons', PARALLEL, () => {
    for (const c of COMPARE_CASES) {
        const message = `f must be ${c.word} g`;
        const desc = form([
            textbox('f', [{kind: c.kind, text: 'g', number: 0, option: 0}]), textbox('g')
        ]);
        const title = ['eq', 'lt', 'le', 'gt', 'ge', 'ne'][c.kind - 11] + 'elmnt';
        for (const [f, g] of c.bad) {
            it(`${title} refuses ${JSON.stringify(f)} against ${JSON.stringify(g)}`, T,
               async () => {
                   await check(desc, {f, g}, {message, focus: 'f'});
               });
        }
        for (const [f, g] of c.good) {
            it(`${title} accepts ${JSON.stringify(f)} against ${JSON.stringify(g)}`, T,
               async () => {
                   await check(desc, {f, g});
               });
        }
    }
});

function checkbox(name, value, validations) {
    return {
        type: 'checkbox',
        name,
        value,
        caption: value,
        checked: 0,
        validations: validations || []
    };
}

function radio(name, value, validations) {
    return {type: 'radio', name, value, caption: value, checked: 0, validations: validations || []};
}

describe('group rules', PARALLEL, () => {
    const selminMsg = 'Please select at least 2  check boxes for colors';
    const group = (kind, number) => ({kind, number, text: '', option: 10});
    const held = (kind, number) => ({kind, number, text: '', option: 25});
    const colours = form([
        checkbox('colors', 'red', [group(17, 2)]),
        checkbox('colors', 'green', [held(17, 2)]),
        checkbox('colors', 'blue', [held(17, 2)]),
    ]);

    it('selmin counts every box of the name: one of two is too few', T, async () => {
        await check(colours, {colors: ['blue']}, {message: selminMsg, focus: 'colors'});
    });
    it('selmin counts every box of the name: none is too few', T, async () => {
        await check(colours, {}, {message: selminMsg, focus: 'colors'});
    });
    it('selmin accepts two boxes other than the carrier', T, async () => {
        const sub = await check(colours, {colors: ['green', 'blue']});
        assert.deepEqual(
            sub.fields.filter(([k]) => k === 'colors').map(([, v]) => v), ['green', 'blue']);
    });
    it('selmin accepts all the boxes', T, async () => {
        await check(colours, {colors: true});
    });

    const single = form([checkbox(
        'agree', 'yes',
        [{kind: 17, number: 1, text: '', option: 0}])]);
    it('selmin on a single box refuses it unchecked', T, async () => {
        await check(single, {}, {message: 'Please check agree', focus: 'agree'});
    });
    it('selmin on a single box accepts it checked', T, async () => {
        await check(single, {agree: true});
    });

    const sizes = form([
        radio(
            'size', 'S',
            [{kind: 18, number: 0, text: '', option: 10}]),
        radio(
            'size', 'M',
            [{kind: 18, number: 0, text: '', option: 25}]),
        radio(
            'size', 'L',
            [{kind: 18, number: 0, text: '', option: 25}]),
    ]);
    it('selone refuses a group with no button chosen', T, async () => {
        await check(sizes, {}, {message: 'Please select one option', focus: 'size'});
    });
    it('selone accepts the last button of the group', T, async () => {
        const sub = await check(sizes, {size: ['L']});
        assert.deepEqual(sub.fields.find(([k]) => k === 'size'), ['size', 'L']);
    });

    const noSpam = 'Can\'t proceed due to your selection for \'news\'';
    const letters = form([
        checkbox('news', 'weekly'),
        checkbox('news', 'spam', [{kind: 19, number: 0, text: 'spam', option: 0}]),
    ]);
    it('dontselectchk refuses the box with that value checked', T, async () => {
        await check(letters, {news: ['spam']}, {message: noSpam, focus: 'news'});
    });
    it('dontselectchk accepts the other boxes of the name', T, async () => {
        await check(letters, {news: ['weekly']});
    });

    const noOption = 'Can\'t proceed as you selected this option.';
    const answers = form([
        radio('answer', 'yes'),
        radio(
            'answer', 'none',
            [
                {kind: 19, number: 0, text: 'none', option: 0},
                {kind: 18, number: 0, text: '', option: 10},
            ]),
    ]);
    it('dontselectchk on a radio button refuses that button', T, async () => {
        await check(answers, {answer: ['none']}, {message: noOption, focus: 'answer'});
    });
    it('a radio button may hold both rules: nothing chosen gives the group message', T,
       async () => {
           await check(answers, {}, {message: 'Please select one option'});
       });
    it('dontselectchk on a radio button accepts another button', T, async () => {
        await check(answers, {answer: ['yes']});
    });
});

describe('dontselect on a list box', PARALLEL, () => {
    const items =
        [{name: 'Choose...', value: 'none'}, {name: 'Red', value: 'r'}, {name: 'Blue', value: 'b'}];
    const msg = 'Please select an option from the list';
    const list = (index, extra) => form([Object.assign(
        {
            type: 'listbox',
            name: 'colour',
            caption: 'Colour',
            size: 1,
            multiple: 0,
            items,
            validations: [{kind: 19, number: index, text: '', option: 0}]
        },
        extra || {})]);

    it('refuses the first option, chosen by default', T, async () => {
        await check(list(0), {}, {message: msg, focus: 'colour'});
    });
    it('accepts another option', T, async () => {
        await check(list(0), {colour: 'b'});
    });
    it('refuses the third option when that one is forbidden', T, async () => {
        await check(list(2), {colour: 'b'}, {message: msg});
    });
    it('in a multiple list refuses the forbidden option among others', T, async () => {
        await check(list(1, {multiple: 1, size: 3}), {colour: ['r', 'b']}, {message: msg});
    });
    it('in a multiple list accepts the others', T, async () => {
        await check(list(1, {multiple: 1, size: 3}), {colour: ['none', 'b']});
    });
});

describe('order, messages and other element types', PARALLEL, () => {
    const ordered = form([
        textbox(
            'f',
            [
                {kind: 1, number: 0, text: '', option: 0},
                {
                    kind: 2,
                    number: 0,
                    text: '',
                    option: 0
                },
            ]),
        textbox(
            'g',
            [{kind: 1, number: 0, text: '', option: 0}]),
    ]);
    it('the first failing check in the order added wins', T, async () => {
        await check(
            ordered, {f: '1', g: ''}, {message: 'Alphabetic input expected for f', focus: 'f'});
    });
    it('a later element is checked when the earlier ones pass', T, async () => {
        await check(
            ordered, {f: 'a', g: ''}, {message: 'Please enter the value for g', focus: 'g'});
    });

    const tricky = 'Say "please",\nthen a back\\slash';
    it('a message with quotes, a line break and a backslash shows as typed', T, async () => {
        await check(
            form([textbox('f', [{kind: 1, number: 0, text: '', option: 0, message: tricky}])]), {},
            {message: tricky});
    });

    const area = form([{
        type: 'textarea',
        name: 'notes',
        caption: 'Notes',
        rows: 3,
        cols: 20,
        value: '',
        validations: [
            {
                kind: 7,
                number: 10,
                text: '',
                option: 0
            },
            {
                kind: 8,
                number: 2,
                text: '',
                option: 0
            },
            {kind: 1, number: 0, text: '', option: 0},
        ],
    }]);
    it('a text area over its maximum is refused', T, async () => {
        await check(area, {notes: 'line one\nline two'}, {
            message: 'The input you provided for notes exceeds the limit(10 characters)',
            focus: 'notes'
        });
    });
    it('a text area under its minimum is refused', T, async () => {
        await check(
            area, {notes: 'x'}, {message: 'Please provide a value with minimum 2 characters'});
    });
    it('an empty mandatory text area is refused', T, async () => {
        await check(area, {}, {message: 'Please provide value for notes'});
    });
    it('a text area within its limits is submitted', T, async () => {
        await check(area, {notes: 'two\nlines'});
    });

    const upload = form([{
        type: 'file',
        name: 'doc',
        caption: 'File',
        size: 20,
        validations: [
            {kind: 1, number: 0, text: '', option: 0}
        ]
    }]);
    it('an empty mandatory file field is refused', T, async () => {
        await check(upload, {}, {message: 'Please select the file to upload.', focus: 'doc'});
    });

    const paragraph = form(
        [textbox('f', [{
                     kind: 4,
                     number: 0,
                     text: '',
                     option: 0
                 }])],
        {tableLayout: 0, method: 0});
    it('a paragraph-layout GET form is checked and submits its query', T, async () => {
        await check(paragraph, {f: 'x'}, {message: 'Please input a numeric value for f'});
        const sub = await check(paragraph, {f: '7'});
        assert.equal(sub.method, 'GET');
        assert.deepEqual(sub.fields.find(([k]) => k === 'f'), ['f', '7']);
    });
});

describe('the additional validation function', PARALLEL, () => {
    const body =
        '\r\n if (document.forms["myform"].f.value == "no") { alert("custom refused"); return false; }' +
        '\r\n return true;';
    const custom = form(
        [textbox(
            'f',
            [{kind: 1, number: 0, text: '', option: 0}])],
        {customValidation: body});

    it('its false cancels the submission', T, async () => {
        await check(custom, {f: 'no'}, {message: 'custom refused'});
    });
    it('its true lets the form submit', T, async () => {
        await check(custom, {f: 'yes'});
    });
    it('runs only after every check passed', T, async () => {
        await check(custom, {f: ''}, {message: 'Please enter the value for f'});
    });
    it('a plain return false cancels without a message', T, async () => {
        await check(
            form([textbox('f')], {customValidation: '\r\n return false;'}), {}, {message: null});
    });
});

describe('the page\'s own onsubmit handler', PARALLEL, () => {
    // The author added a handler of their own to the generated form tag.
    const withHandler = (html) =>
        html.replace('method=\'POST\'>', 'method=\'POST\' onsubmit="return pageCheck(this)">')
            .replace(
                '<body>',
                '<body>\r\n<SCRIPT LANGUAGE="JavaScript">\r\nfunction pageCheck(f) {\r\n' +
                    ' if (f.f.value == "block") { alert("page refused"); return false; }\r\n' +
                    ' f.ran.value = "yes"; return true;\r\n}\r\n</SCRIPT>');
    const desc = form([
        textbox(
            'f',
            [{kind: 1, number: 0, text: '', option: 0}]),
        {type: 'hidden', name: 'ran', value: 'no', validations: []}
    ]);

    it('is not run when a validation fails', T, async () => {
        await check(desc, {f: ''}, {message: 'Please enter the value for f'}, withHandler);
    });
    it('still cancels with its false', T, async () => {
        await check(desc, {f: 'block'}, {message: 'page refused'}, withHandler);
    });
    it('still runs before an accepted submission', T, async () => {
        const sub = await check(desc, {f: 'go'}, null, withHandler);
        assert.deepEqual(sub.fields.find(([k]) => k === 'ran'), ['ran', 'yes']);
    });
});

describe('the page as the wizard writes it', () => {
    it('holds the marked inclusion line and the marked validator block', () => {
        const html = buildPage(form([textbox('f', [{kind: 1, number: 0, text: '', option: 0}])]));
        const start = '\n<!--FORM_WIZ{-->\n';
        const end = '\n<!--}FORM_WIZ-->\n';
        assert.ok(
            html.includes(
                start + '<SCRIPT src="gen_validatorv3.js"  language="JavaScript"></SCRIPT>' + end),
            html);
        assert.ok(html.includes('<title>HTML Form:myform</title>'), html);
        const block = html.indexOf(start + '\r\n<SCRIPT LANGUAGE="JavaScript">');
        assert.ok(block > html.indexOf('</FORM>'), html);
        assert.ok(html.indexOf(end, block) > block, html);
        assert.ok(
            html.includes('myformValidator.addValidation("f","req","Please enter the value for f");'),
            html);
    });
});

describe('where the script meets the page', PARALLEL, () => {
    // The text box editor's "Please enter the value for <name>".
    const req = () => ({kind: 1, number: 0, text: '', option: 0});

    // The generated call names the form without its hyphen.
    const hyphened = form([textbox('f', [req('f')])], {name: 'contact-form'});
    it('a form whose name has a hyphen is still checked', T, async () => {
        await check(hyphened, {}, {message: 'Please enter the value for f', focus: 'f'});
    });
    it('a form whose name has a hyphen still submits', T, async () => {
        await check(hyphened, {f: 'x'});
    });

    // The author moved the validator block into the head, before the form.
    const moveToHead = (html) => {
        const start = html.indexOf('\r\n<SCRIPT LANGUAGE="JavaScript">');
        const end = html.indexOf('</SCRIPT>', start) + '</SCRIPT>\r\n'.length;
        const block = html.slice(start, end);
        return html.slice(0, start).replace('<body>', block + '<body>') + html.slice(end);
    };
    const simple = form([textbox('f', [req('f')])]);
    it('a validator block before its form takes effect once the page loaded', T, async () => {
        await check(simple, {}, {message: 'Please enter the value for f'}, moveToHead);
    });
    it('a validator block before its form lets good input through', T, async () => {
        await check(simple, {f: 'x'}, null, moveToHead);
    });

    // The author deleted a field from the page but not its validation.
    const twoFields = form([textbox('f', [req('f')]), textbox('g', [req('g')])]);
    const dropG = (html) =>
        html.replace('<INPUT type=\'text\' name=\'g\' size=\'20\' value=\'\'>', '');
    it('a validation of a field the page no longer has does not block', T, async () => {
        await check(twoFields, {f: 'x'}, null, dropG);
    });
    it('the other validations still run', T, async () => {
        await check(twoFields, {}, {message: 'Please enter the value for f'}, dropG);
    });
});
