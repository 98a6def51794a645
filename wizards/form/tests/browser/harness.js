'use strict';
// Test harness for the validator runtime: a loopback web site that serves
// generated form pages and the shipped script and records every submission,
// and a headless Chromium that fills the forms in and submits them.

const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const {execFileSync} = require('node:child_process');

const CHROMIUM = process.env.ONDRELO_CHROMIUM || '/usr/bin/chromium';
const SCRIPT_NAME = 'gen_validatorv3.js';

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
    if (!dir)
        throw new Error('ONDRELO_SCRIPTS_DIR is not set');
    const file = path.join(dir, SCRIPT_NAME);
    if (!fs.existsSync(file))
        throw new Error('the validator runtime is missing: ' + file);
    return dir;
}

// ---------------------------------------------------------------------------
// Pages, written by ondrelo-gen's form subcommand. A form description
// lists elements with their type data and their validations as the model
// holds them (kind, number, text, option, message); it is handed to the
// program in its line format.

const KIND_WORDS = {
    1: 'req',
    4: 'num',
    5: 'email',
    6: 'regexp',
    7: 'maxlen',
    8: 'minlen',
    9: 'lt',
    10: 'gt',
    11: 'eqelmnt',
    12: 'ltelmnt',
    13: 'leelmnt',
    14: 'gtelmnt',
    15: 'geelmnt',
    16: 'neelmnt',
    17: 'selmin',
    18: 'selone',
};

function quote(value) {
    const s = String(value === undefined || value === null ? '' : value);
    return '"' +
        s.replace(/\\/g, '\\\\')
            .replace(/"/g, '\\"')
            .replace(/\n/g, '\\n')
            .replace(/\r/g, '\\r')
            .replace(/\t/g, '\\t') +
        '"';
}

function elementLine(el) {
    const keys = [];
    const key = (k, v) => {
        if (v !== undefined)
            keys.push(quote(k + '=' + v));
    };
    let type = el.type;
    switch (el.type) {
        case 'text':
            type = el.password ? 'password' : 'textbox';
            key('value', el.value);
            key('size', el.size);
            break;
        case 'checkbox':
        case 'radio':
            key('value', el.value);
            key('checked', el.checked ? 1 : 0);
            break;
        case 'file':
            key('size', el.size);
            break;
        case 'hidden':
            key('value', el.value);
            break;
        case 'button':
            key('kind', ['submit', 'reset', 'button'][el.kind || 0]);
            break;
        case 'textarea':
            type = 'multiline';
            key('rows', el.rows);
            key('cols', el.cols);
            key('text', el.value);
            break;
        case 'listbox':
            key('visible', el.size);
            key('multiple', el.multiple ? 1 : 0);
            break;
        default:
            throw new Error('unknown element type ' + el.type);
    }
    return ['element', type, quote(el.name), quote(el.caption)].concat(keys).join(' ');
}

function validationLine(el, index, v) {
    let word = KIND_WORDS[v.kind];
    let arg = '-';
    if (v.kind === 2 || v.kind === 3) {
        word = (v.kind === 2 ? 'alpha' : 'alnum') + (v.option === 1 ? '_s' : '');
    } else if (v.kind === 19) {
        word = el.type === 'listbox' ? 'dontselect' : 'dontselectchk';
        arg = el.type === 'listbox' ? String(v.number) : v.text;
    } else if (v.kind === 6 || (v.kind >= 11 && v.kind <= 16)) {
        arg = v.text;
    } else if ([7, 8, 9, 10, 17].indexOf(v.kind) >= 0) {
        arg = String(v.number);
    }
    if (!word)
        throw new Error('unknown kind ' + v.kind);
    const fields = ['validation', '@' + index, word, quote(arg)];
    if (v.message !== undefined)
        fields.push(quote(v.message));
    return fields.join(' ');
}

// The rules of an element's validation editor that give its validations
// (held group rules are left to the editors' group sharing), or null when
// no editor can say them: then they are written directly, as the model
// holds them.
const COMPARE_WORDS = ['eqelmnt', 'ltelmnt', 'leelmnt', 'gtelmnt', 'geelmnt', 'neelmnt'];
// The order in which each editor writes its validations.
const EDITOR_ORDER = {
    text: [1, 2, 3, 4, 5, 7, 8, 10, 9, 6, 11, 12, 13, 14, 15, 16],
    textarea: [7, 8, 1],
    checkbox: [17, 19],
    radio: [19, 18],
    listbox: [19],
    file: [1],
};

function isHeld(v) {
    return (v.kind === 17 || v.kind === 18) && v.option === 25;
}

function editorRule(el, v) {
    const spaces = v.option === 1 ? '_s' : '';
    switch (el.type) {
        case 'text':
            if (v.kind === 1)
                return 'req';
            if (v.kind === 2 || v.kind === 3)
                return (v.kind === 2 ? 'alpha' : 'alnum') + spaces;
            if (v.kind === 4)
                return 'num';
            if (v.kind === 5)
                return 'email';
            if (v.kind === 6)
                return 'regexp=' + v.text;
            if (v.kind === 7 || v.kind === 8)
                return (v.kind === 7 ? 'maxlen=' : 'minlen=') + v.number;
            if (v.kind === 9 || v.kind === 10)
                return (v.kind === 9 ? 'lt=' : 'gt=') + v.number;
            if (v.kind >= 11 && v.kind <= 16)
                return COMPARE_WORDS[v.kind - 11] + '=' + v.text;
            return null;
        case 'textarea':
            if (v.kind === 1)
                return 'req';
            if (v.kind === 7 || v.kind === 8)
                return (v.kind === 7 ? 'maxlen=' : 'minlen=') + v.number;
            return null;
        case 'checkbox':
            if (v.kind === 17)
                return 'selmin=' + v.number;
            if (v.kind === 19 && v.text === el.value)
                return 'dontselectchk';
            return null;
        case 'radio':
            if (v.kind === 18)
                return 'selone';
            if (v.kind === 19 && v.text === el.value)
                return 'dontselectchk';
            return null;
        case 'listbox':
            return v.kind === 19 ? 'dontselect=' + v.number : null;
        case 'file':
            return v.kind === 1 ? 'req' : null;
        default:
            return null;
    }
}

function editorRules(el, form) {
    const own = (el.validations || []).filter((v) => !isHeld(v));
    const order = EDITOR_ORDER[el.type];
    if (!order)
        return own.length ? null : [];
    // A check box has one choice; a box of its own can only be required.
    if (el.type === 'checkbox') {
        const name = String(el.name).toLowerCase();
        const alone = form.elements.filter(
                          (e) => e.type === 'checkbox' && String(e.name).toLowerCase() === name)
                          .length === 1;
        if (own.length > 1 || (alone && own.some((v) => v.kind === 17 && v.number !== 1)))
            return null;
    }
    const rules = [];
    let last = -1;
    const kinds = new Set();
    for (const v of own) {
        const rule = editorRule(el, v);
        const at = order.indexOf(v.kind);
        // An editor writes each rule once, in its own order, and a text box
        // has one input type.
        const inputType = el.type === 'text' && v.kind >= 2 && v.kind <= 5;
        if (rule === null || at < last || (kinds.has(v.kind) && v.kind < 11) ||
            (inputType && [2, 3, 4, 5].some((k) => kinds.has(k))))
            return null;
        last = at;
        kinds.add(v.kind);
        rules.push(rule);
    }
    return rules;
}

// The description in ondrelo-gen form's line format. Validations go
// through the element's validation editor ("edit"), so that the page holds
// the editors' default messages and their group sharing; a given message is
// set afterwards through the error-message editor ("message"). A validation
// without a message gets the editor's default.
function describeForm(form) {
    const lines = [[
        'form', quote(form.name), quote(form.action), form.method === 0 ? 'get' : 'post',
        form.tableLayout === 0 ? 'plain' : 'table'
    ].join(' ')];
    if (form.customValidation)
        lines.push('custom ' + quote(form.customValidation));
    form.elements.forEach((el) => {
        lines.push(elementLine(el));
        for (const item of el.items || []) {
            lines.push(
                ['item', quote(item.name), quote(item.value)].join(' ') +
                (item.selected ? ' selected' : ''));
        }
    });
    const messages = [];
    form.elements.forEach((el, i) => {
        const rules = editorRules(el, form);
        if (rules === null) {
            for (const v of el.validations || []) {
                if (!isHeld(v))
                    lines.push(validationLine(el, i, v));
            }
            return;
        }
        if (rules.length)
            lines.push(['edit', '@' + i].concat(rules.map(quote)).join(' '));
        for (const v of el.validations || []) {
            if (isHeld(v) || v.message === undefined)
                continue;
            let kind = editorRule(el, v).split('=')[0];
            if (v.kind >= 11 && v.kind <= 16)
                kind += '=' + v.text;
            messages.push(['message', '@' + i, quote(kind), quote(v.message)].join(' '));
        }
    });
    return lines.concat(messages).join('\n') + '\n';
}

// Writes the page as the wizard's insertion does, through ondrelo-gen, into
// a scratch folder with a scratch settings store (the script comes from the
// build's scripts folder next to the program), and returns its text.
function buildPage(form) {
    const tool = process.env.ONDRELO_GEN;
    if (!tool || !fs.existsSync(tool)) {
        throw new Error(
            'the generator ondrelo-gen is missing (' + (tool || 'unset') +
            '): build the target ondrelo-gen first');
    }
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'ondrelo-page-'));
    try {
        const page = path.join(dir, 'page.html');
        execFileSync(tool, ['form', '-', '--insert', page, '--new'], {
            input: describeForm(form),
            env: Object.assign({}, process.env, {ONDRELO_REGISTRY: path.join(dir, 'store.db')}),
            stdio: ['pipe', 'pipe', 'pipe'],
        });
        return fs.readFileSync(page, 'utf8');
    } finally {
        fs.rmSync(dir, {recursive: true, force: true});
    }
}

// ---------------------------------------------------------------------------
// The web site: GET /pages/<id>.html serves a registered page, any path
// ending in the script's name serves the shipped runtime, and /submit
// records what the browser sent and answers with a small page.

class Site {
    constructor() {
        this.pages = new Map();
        this.submissions = [];
        this.nextId = 1;
        this.script = fs.readFileSync(path.join(scriptsDir(), SCRIPT_NAME));
    }

    start() {
        this.server = http.createServer((req, res) => this.handle(req, res));
        return new Promise((resolve, reject) => {
            this.server.once('error', reject);
            this.server.listen(0, '127.0.0.1', () => {
                this.base = 'http://127.0.0.1:' + this.server.address().port;
                resolve();
            });
        });
    }

    stop() { return new Promise((resolve) => this.server.close(() => resolve())); }

    submissionsFrom(url) { return this.submissions.filter((s) => s.page === url); }

    addPage(html) {
        const id = this.nextId++;
        this.pages.set('/pages/' + id + '.html', html);
        return this.base + '/pages/' + id + '.html';
    }

    handle(req, res) {
        const url = new URL(req.url, this.base);
        if (url.pathname.endsWith('/' + SCRIPT_NAME)) {
            res.writeHead(200, {'Content-Type': 'application/javascript'});
            res.end(this.script);
            return;
        }
        if (url.pathname === '/submit') {
            let body = '';
            req.setEncoding('utf8');
            req.on('data', (c) => {
                body += c;
            });
            req.on('end', () => {
                const fields = new URLSearchParams(req.method === 'POST' ? body : url.search);
                const entries = [];
                for (const [k, v] of fields)
                    entries.push([k, v]);
                // The referring page tells which test sent it.
                this.submissions.push(
                    {page: req.headers.referer || '', method: req.method, fields: entries});
                res.writeHead(200, {'Content-Type': 'text/html'});
                res.end('<html><body>received</body></html>');
            });
            return;
        }
        const page = this.pages.get(url.pathname);
        if (page === undefined) {
            res.writeHead(404, {'Content-Type': 'text/plain'});
            res.end('not found');
            return;
        }
        res.writeHead(200, {'Content-Type': 'text/html; charset=utf-8'});
        res.end(page);
    }
}

// ---------------------------------------------------------------------------
// The browser.

async function launchBrowser() {
    if (!fs.existsSync(CHROMIUM)) {
        throw new Error(
            'Chromium is missing at ' + CHROMIUM +
            ': the browser tests need it (tools/setup installs the chromium package)');
    }
    const {chromium} = requirePlaywright();
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'ondrelo-chromium-'));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: CHROMIUM,
        headless: true,
        args: [
            '--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
            '--disable-quic', '--no-first-run', '--disable-component-update', '--disable-sync'
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

// One open form page with the dialogs it showed and, for every submit event,
// whether it was cancelled (read by a window listener, which runs after the
// form's own handlers).
class FormPage {
    static async open(context, url) {
        const page = await context.newPage();
        const fp = new FormPage(page, url);
        // Each submit event is reported to the test as it happens, so that
        // nothing has to be read from a page that may be navigating away.
        await page.exposeFunction('__ondrelo_submitted', (cancelled) => {
            fp.submits.push(cancelled);
            if (fp.onSubmit)
                fp.onSubmit();
        });
        await page.addInitScript(() => {
            window.addEventListener(
                'submit', (e) => window.__ondrelo_submitted(e.defaultPrevented));
        });
        await page.goto(url);
        return fp;
    }

    // Clicks submit and returns whether the submit event was cancelled.
    async submitAndSeeIfCancelled(button) {
        const seen = new Promise((resolve, reject) => {
            const timer = setTimeout(() => reject(new Error('no submit event')), 25000);
            this.onSubmit = () => {
                clearTimeout(timer);
                resolve();
            };
        });
        await this.submit(button);
        await seen;
        return this.submits.length === 1 && this.submits[0] === true;
    }

    constructor(page, url) {
        this.page = page;
        this.url = url;
        this.dialogs = [];
        this.errors = [];
        this.submits = [];
        this.onSubmit = null;
        page.on('dialog', (d) => {
            this.dialogs.push(d.message());
            d.accept().catch(() => {});
        });
        page.on('pageerror', (e) => this.errors.push(String(e)));
    }

    // Sets controls by name: strings go into text fields, text areas and
    // selects (by option value, or an array for a multiple select); for check
    // boxes and radio buttons a boolean sets all of the name and an array of
    // values checks exactly those.
    async fill(values) {
        for (const [name, v] of Object.entries(values || {})) {
            await this.page.evaluate(([name, v]) => {
                const els =
                    Array.prototype.filter.call(document.forms[0].elements, (e) => e.name === name);
                if (els.length === 0)
                    throw new Error('no control named ' + name);
                for (const el of els) {
                    if (el.type === 'checkbox' || el.type === 'radio') {
                        if (typeof v === 'boolean')
                            el.checked = v;
                        else
                            el.checked = v.indexOf(el.value) >= 0;
                    } else if (el.tagName === 'SELECT') {
                        const chosen = Array.isArray(v) ? v : [v];
                        for (const o of el.options)
                            o.selected = chosen.indexOf(o.value) >= 0;
                    } else {
                        el.value = v;
                    }
                }
            }, [name, v]);
        }
    }

    // Clicks the form's submit button (or the one named).
    async submit(button) {
        const selector = button ? `[name="${button}"]` : 'input[type=submit]';
        await this.page.click(selector, {noWaitAfter: true});
    }

    focusedName() {
        return this.page.evaluate(
            () => (document.activeElement && document.activeElement.name) || '');
    }
}

module.exports = {
    buildPage,
    describeForm,
    Site,
    launchBrowser,
    FormPage
};
