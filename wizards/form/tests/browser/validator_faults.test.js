'use strict';
// The validator runtime against entries web authors' visitors really type:
// exact comparisons of confirmations, accented names, blanks around an
// entry, patterns the browser cannot compile, check-box groups whose names
// differ in letter case, and the e-mail rule next to the browser's own
// check of an e-mail field.

const assert = require('node:assert/strict');
const {describe, it, before, after} = require('node:test');
const {buildPage, Site, launchBrowser, FormPage} = require('./harness');

const PARALLEL = {
    concurrency: 4
};
const T = {
    timeout: 30000
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

const SUBMIT = {type: 'button', name: 'send', kind: 0, caption: 'Send'};

function validation(kind, message, extra) {
    return Object.assign({kind, number: 0, text: '', option: 0, message}, extra || {});
}

function textbox(name, validations) {
    return {type: 'text', name, caption: name, size: 20, value: '', validations: validations || []};
}

function form(elements) {
    return {
        name: 'myform',
        action: '/submit',
        method: 1,
        tableLayout: 1,
        elements: elements.concat([SUBMIT])
    };
}

async function open(desc) {
    return FormPage.open(browser.context, site.addPage(buildPage(desc)));
}

async function closePage(page) {
    let timer;
    const stall = new Promise((resolve) => {
        timer = setTimeout(resolve, 5000);
    });
    await Promise.race([page.close().catch(() => {}), stall]);
    clearTimeout(timer);
}

// Fills the form in and submits it: with a message, the submission must be
// refused with exactly that alert and nothing sent; without, it must reach
// the site unchanged.
async function check(desc, values, message) {
    const fp = await open(desc);
    try {
        await fp.fill(values);
        if (message) {
            assert.equal(await fp.submitAndSeeIfCancelled(), true, 'the submission was not cancelled');
            assert.deepEqual(fp.dialogs, [message]);
            await fp.page.waitForTimeout(100);
            assert.deepEqual(site.submissionsFrom(fp.url), []);
        } else {
            const arrived = fp.page.waitForURL(/\/submit/);
            await fp.submit();
            await arrived;
            assert.deepEqual(fp.dialogs, []);
            const sent = site.submissionsFrom(fp.url);
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

// Cases on one text field "f" (and "g" for comparisons): each refuses its
// bad entries with the validation's message and sends its good ones.
function runCases(cases) {
    for (const c of cases) {
        const elements = [textbox('f', [c.v])];
        if (c.v.kind >= 11 && c.v.kind <= 16)
            elements.push(textbox('g'));
        const desc = form(elements);
        const show = (entry) => JSON.stringify(entry);
        for (const bad of c.bad || [])
            it(`${c.title} refuses ${show(bad)}`, T, async () => {
                await check(desc, Array.isArray(bad) ? {f: bad[0], g: bad[1]} : {f: bad}, c.v.message);
            });
        for (const good of c.good || [])
            it(`${c.title} accepts ${show(good)}`, T, async () => {
                await check(desc, Array.isArray(good) ? {f: good[0], g: good[1]} : {f: good});
            });
    }
}

describe('comparisons between two fields', PARALLEL, () => {
    runCases([
        {
            title: 'eqelmnt',
            v: validation(11, 'f must be Equal to g', {text: 'g'}),
            // Confirmations of PINs and account numbers: the texts must match.
            bad: [['0123', '123'], ['1e2', '100'], ['10', '10.0'], ['abc ', 'abc']],
            good: [['0123', '0123'], ['Secret', 'Secret'], ['', '']]
        },
        {
            title: 'neelmnt',
            v: validation(16, 'f must be different from g', {text: 'g'}),
            bad: [['007', '007'], ['abc', 'abc']],
            good: [['007', '7'], ['5', '5.00'], ['', '']]
        },
        {
            title: 'ltelmnt',
            v: validation(12, 'f must be Less than g', {text: 'g'}),
            // Numbers as typed compare as numbers, blanks around them ignored;
            // "1,000" and "1e3" are text, and as text "1,000" sorts before "999".
            bad: [['10', '9'], [' 10 ', '9'], ['b', 'a']],
            good: [['9', '10'], ['-3.5', '2'], ['1,000', '999'], ['1e3', '2'], ['.5', '0.75']]
        },
        {
            title: 'geelmnt',
            v: validation(15, 'f must be Greater than or Equal To g', {text: 'g'}),
            bad: [['999', '1000'], ['1,000', '999']],
            good: [['1000', '999'], ['+7', '7']]
        },
    ]);
});

describe('letters beyond ASCII', PARALLEL, () => {
    const names = ['José', 'Müller', 'Ørsted', 'Łukasz', 'Şahin', 'Ελένη', 'Иван', 'Nguyễn'];
    runCases([
        {
            title: 'alpha',
            v: validation(2, 'Alphabetic input expected for f'),
            bad: ['José1', 'a×b', 'Jo-sé', 'Ana María'],
            good: names
        },
        {
            title: 'alpha_s',
            v: validation(2, 'Alphabetic input expected for f', {option: 1}),
            bad: ['María 2', 'a÷b'],
            good: ['José María', 'Ørsted Müller']
        },
        {
            title: 'alnum',
            v: validation(3, 'Alpha-Numeric input expected for f'),
            bad: ['Müller 2', 'a_1'],
            good: ['Müller2', 'Ελένη7']
        },
        {
            title: 'alnum_s',
            v: validation(3, 'Alpha-Numeric input expected for f', {option: 1}),
            bad: ['Straße 5!'],
            good: ['Straße 5', 'Иван 3']
        },
    ]);
});

describe('blanks around an entry', PARALLEL, () => {
    runCases([
        {
            title: 'email',
            v: validation(5, 'Please provide a valid email address'),
            good: ['a@b.com ', ' a@b.com', '\ta@b.com  ']
        },
        {title: 'num', v: validation(4, 'Please input a numeric value for f'), good: [' 12 ']},
        {title: 'alpha', v: validation(2, 'Alphabetic input expected for f'), good: [' abc ']},
        {
            title: 'regexp',
            v: validation(6, 'Please provide a valid input for f', {text: '^\\d{5}$'}),
            bad: [' 1234 '],
            good: ['12345 ']
        },
        {
            title: 'maxlen',
            v: validation(7, 'Please provide a value with less than 5 characters for f', {number: 5}),
            bad: ['abcdef'],
            good: ['abcde  ']
        },
        {
            title: 'minlen',
            v: validation(8, 'Please provide a value with more than 3 characters for f', {number: 3}),
            bad: ['ab  ', '  ab'],
            good: [' abc']
        },
        {
            title: 'gt',
            v: validation(10, 'Please provide a value greater than 2 for f', {number: 2}),
            bad: [' 1 '],
            good: [' 3 ']
        },
    ]);
});

describe('a pattern the browser cannot compile', PARALLEL, () => {
    runCases([
        {
            title: 'regexp (?i)',
            v: validation(6, 'Please provide a valid input for f', {text: '(?i)^abc$'}),
            bad: ['abc', 'ABC', 'anything'],
            // An optional field left empty is still not checked.
            good: ['']
        },
        {
            title: 'regexp with an unterminated class',
            v: validation(6, 'Please provide a valid input for f', {text: '^[a-z+$'}),
            bad: ['abc']
        },
    ]);
});

describe('check-box groups by name without regard to letter case', PARALLEL, () => {
    const message = 'Please select at least 2  check boxes for Colors';
    const box = (name, value, validations) =>
        ({type: 'checkbox', name, value, caption: value, checked: 0, validations});
    const colours = form([
        box('Colors', 'red', [validation(17, message, {number: 2, option: 10})]),
        box('colors', 'green', [validation(17, message, {number: 2, option: 25})]),
        box('COLORS', 'blue', [validation(17, message, {number: 2, option: 25})]),
    ]);

    it('selmin counts "Colors" and "colors" together', T, async () => {
        await check(colours, {Colors: true, colors: true});
    });
    it('selmin counts boxes other than the carrier\'s name', T, async () => {
        await check(colours, {colors: true, COLORS: true});
    });
    it('selmin still refuses one box of the group', T, async () => {
        await check(colours, {colors: true}, message);
    });

    const radio = (name, value, validations) =>
        ({type: 'radio', name, value, caption: value, checked: 0, validations});
    const sizes = form([
        radio('Size', 'S', [validation(18, 'Please select one option', {option: 10})]),
        radio('size', 'M', [validation(18, 'Please select one option', {option: 25})]),
    ]);
    it('selone takes a button of the other letter case', T, async () => {
        await check(sizes, {size: ['M']});
    });
    it('selone refuses when no button of the group is chosen', T, async () => {
        await check(sizes, {}, 'Please select one option');
    });
});

// The e-mail rule next to the browser's own check of an e-mail field. Each
// row: the address, whether the browser's e-mail field takes it (value set
// as a script sets it), whether the validator takes it.
const EMAIL_TABLE = [
    ['user@example.com', true, true],
    ['first.last@example.com', true, true],
    ['user+tag@example.com', true, true],
    ['user@mail.example.co.uk', true, true],
    ['user@sub.sub.sub.example.museum', true, true],
    ['user@example.technology', true, true],
    ['user@my-host.example.com', true, true],
    ['user123@example123.com', true, true],
    ['123@example.com', true, true],
    ['user@1example.com', true, true],
    ['a@b.co', true, true],
    ['USER@EXAMPLE.COM', true, true],
    ['user_name@example.com', true, true],
    ['user-name@example.com', true, true],
    ['o\'brien@example.com', true, true],
    ['user!#$%&*/=?^`{|}~@example.com', true, true],
    ['user@example.xn--p1ai', true, true],
    ['user@xn--bcher-kva.example', true, true],
    ['user@' + 'a'.repeat(63) + '.com', true, true],
    ['user@' + 'a'.repeat(64) + '.com', false, false],
    ['user@[127.0.0.1]', false, false],
    ['user@127.0.0.1', true, false],
    ['user@localhost', true, false],
    ['user@example', true, false],
    ['user@example.c', true, false],
    ['user@example.123', true, false],
    ['user@example.c0m', true, false],
    ['user..name@example.com', true, false],
    ['.user@example.com', true, false],
    ['user.@example.com', true, false],
    ['user@example..com', false, false],
    ['user@.example.com', false, false],
    ['user@example.com.', false, false],
    ['user@-example.com', false, false],
    ['user@example-.com', false, false],
    ['user@ex_ample.com', false, false],
    ['user name@example.com', false, false],
    ['user@exam ple.com', false, false],
    [' user@example.com', true, true],
    ['user@example.com ', true, true],
    ['  user@example.com  ', true, true],
    ['josé@example.com', false, false],
    ['user@exämple.com', false, false],
    ['user@例え.jp', false, false],
    ['"quoted"@example.com', false, false],
    ['user@@example.com', false, false],
    ['@example.com', false, false],
    ['user@', false, false],
    ['userexample.com', false, false],
    ['user@example.com,other@example.com', false, false],
];

describe('the e-mail rule next to the browser\'s e-mail field', () => {
    it('agrees with the table, and the table with the browser', T, async () => {
        const fp = await open(form([textbox('f', [validation(5, 'Please provide a valid email address')])]));
        try {
            const verdicts = await fp.page.evaluate((addresses) => {
                const probe = document.createElement('input');
                probe.type = 'email';
                document.body.appendChild(probe);
                return addresses.map((a) => {
                    probe.value = a;
                    return [
                        probe.validity.valid && probe.value !== '',
                        Validator.commands.email([{type: 'text', value: a}]) === true
                    ];
                });
            }, EMAIL_TABLE.map(([a]) => a));
            const got = EMAIL_TABLE.map(([a], i) => [a, verdicts[i][0], verdicts[i][1]]);
            assert.deepEqual(got, EMAIL_TABLE);
            assert.ok(EMAIL_TABLE.length >= 40);
        } finally {
            await closePage(fp.page);
        }
    });

    // A few of the rows through a real submission.
    const desc = form([textbox('f', [validation(5, 'Please provide a valid email address')])]);
    for (const address of ['user@example.xn--p1ai', 'user@' + 'a'.repeat(63) + '.com'])
        it(`a form sends ${address}`, T, async () => {
            await check(desc, {f: address});
        });
    for (const address of ['user@' + 'a'.repeat(64) + '.com', 'user..name@example.com'])
        it(`a form refuses ${address}`, T, async () => {
            await check(desc, {f: address}, 'Please provide a valid email address');
        });
});
