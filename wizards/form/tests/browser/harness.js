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
// Pages. A form description lists elements with their type data and their
// validations as the model holds them (kind, number, text, option, message).
// The page is written by the core's form-sample-page program when the build
// provides it, otherwise by the equivalent writer below.

const NL = '\r\n';

function pad6(n) { return Number(n).toFixed(6); }

function descriptorOf(el, v) {
    switch (v.kind) {
        case 1:
            return 'req';
        case 2:
            return v.option === 1 ? 'alpha_s' : 'alpha';
        case 3:
            return v.option === 1 ? 'alnum_s' : 'alnum';
        case 4:
            return 'num';
        case 5:
            return 'email';
        case 6:
            return 'regexp=' + v.text.replace(/\\/g, '\\\\');
        case 7:
            return 'maxlen=' + Math.trunc(v.number);
        case 8:
            return 'minlen=' + Math.trunc(v.number);
        case 9:
            return 'lt=' + pad6(v.number);
        case 10:
            return 'gt=' + pad6(v.number);
        case 11:
            return 'eqelmnt=' + v.text;
        case 12:
            return 'ltelmnt=' + v.text;
        case 13:
            return 'leelmnt=' + v.text;
        case 14:
            return 'gtelmnt=' + v.text;
        case 15:
            return 'geelmnt=' + v.text;
        case 16:
            return 'neelmnt=' + v.text;
        case 17:
            return 'selmin=' + Math.trunc(v.number);
        case 18:
            return 'selone';
        case 19:
            return el.type === 'listbox' ? 'dontselect=' + Math.trunc(v.number) :
                                           'dontselectchk=' + v.text;
        default:
            throw new Error('unknown kind ' + v.kind);
    }
}

function escapeMessage(m) {
    return m.replace(/\\/g, '\\\\').replace(/\r/g, '').replace(/\n/g, '\\n').replace(/"/g, '\\"');
}

function elementHtml(el) {
    const attr = (s) => String(s === undefined ? '' : s).replace(/'/g, '&#39;');
    switch (el.type) {
        case 'text':
            return `<INPUT type='${el.password ? 'password' : 'text'}' name='${el.name}' size='${
                el.size || 20}' value='${attr(el.value)}'>`;
        case 'checkbox':
        case 'radio':
            return `<INPUT type='${el.type}' name='${el.name}' value='${attr(el.value)}' ${
                el.checked ? 'checked' : ''}>${el.caption || ''}`;
        case 'file':
            return `<INPUT type='file' name='${el.name}' size='${el.size || 20}'>`;
        case 'hidden':
            return `<INPUT type='hidden' name='${el.name}' value='${attr(el.value)}'>`;
        case 'button': {
            const word = ['submit', 'reset', 'button'][el.kind || 0];
            const caption = (el.caption || '').trim() || word;
            return `<INPUT type='${word}' name='${el.name}' value='${attr(caption)}'>`;
        }
        case 'textarea':
            return `<TEXTAREA name='${el.name}' rows='${el.rows || 4}' cols='${el.cols || 30}'>${
                el.value || ''}</TEXTAREA>`;
        case 'listbox': {
            let s = `<SELECT name='${el.name}' size='${el.size || 1}' ${
                        el.multiple ? 'multiple' : ''}>` +
                NL;
            for (const item of el.items) {
                s += `<OPTION value='${attr(item.value)}' ${item.selected ? 'selected' : ''}>${
                         item.name}` +
                    NL;
            }
            return s + '</SELECT>';
        }
        default:
            throw new Error('unknown element type ' + el.type);
    }
}

const CAPTION_PLACED = new Set(['checkbox', 'radio', 'hidden', 'button']);

function formHtml(form) {
    const table = form.tableLayout !== 0;
    const rowStart = table ? '<TR>' + NL : '<P>';
    const cellStart = table ? '    <TD>' + NL + '   ' : ' &nbsp; &nbsp;';
    const cellEnd = table ? '    </TD>' + NL : ' ';
    const rowEnd = table ? '</TR>' + NL : '</P>';
    let s = '<CENTER>' +
        `<FORM name='${form.name}' action='${form.action}' method='${
                form.method === 0 ? 'GET' : 'POST'}'>` +
        NL;
    if (table)
        s += '<TABLE border="0" cellpadding="2" cellspacing="2" > ' + NL;
    for (const el of form.elements) {
        const html = elementHtml(el).split(NL).join(NL + '   ');
        s += rowStart + cellStart;
        if (!CAPTION_PLACED.has(el.type))
            s += el.caption || '';
        s += NL + cellEnd + cellStart + html + NL + cellEnd + rowEnd;
    }
    if (table)
        s += '</TABLE>' + NL;
    return s + '</FORM>' +
        '</CENTER>' + NL;
}

function validatorScript(form) {
    const n = form.name.replace(/[ \-"']/g, '');
    const v = n + 'Validator';
    let s = NL + '<SCRIPT LANGUAGE="JavaScript">' + NL;
    if (form.customValidation) {
        s += '//Custom Validation Function' + NL + 'function validate_' + n + ' ( )' + NL + '{' +
            form.customValidation + NL + '}' + NL;
    }
    s += `var ${v} = new Validator("${n}");` + NL;
    for (const el of form.elements) {
        for (const val of el.validations || []) {
            if ((val.kind === 17 || val.kind === 18) && val.option === 25)
                continue;
            if (val.kind === 19 && el.type !== 'listbox' && !val.text)
                continue;
            const d = descriptorOf(el, val).replace(/"/g, '\\"');
            s += `${v}.addValidation("${el.name.replace(/"/g, '')}","${d}","${
                     escapeMessage(val.message)}");` +
                NL;
        }
    }
    if (form.customValidation)
        s += `${v}.setAddnlValidationFunction("validate_${n}");` + NL;
    return s + NL + '</SCRIPT>' + NL;
}

function writePage(form) {
    return '<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0 Transitional//EN">\n\n<html>\n<head>\n\t<title>HTML Form:' +
        form.name + '</title>\n</head>\n\n' +
        `<SCRIPT src="${SCRIPT_NAME}"  language="JavaScript"></SCRIPT>` + NL + '<body>' + NL +
        formHtml(form) + validatorScript(form) + '</body>\n</html>';
}

// The core's page writer, when the build has it: takes the description as
// JSON on standard input and prints the page.
function corePage(form) {
    const tool = process.env.ONDRELO_FORM_SAMPLE_PAGE;
    if (!tool || !fs.existsSync(tool))
        return null;
    return execFileSync(tool, [], {input: JSON.stringify(form), encoding: 'utf8'});
}

function buildPage(form) { return corePage(form) || writePage(form); }

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
                this.submissions.push({method: req.method, fields: entries});
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

// One open form page with the dialogs it showed.
class FormPage {
    constructor(page, url) {
        this.page = page;
        this.url = url;
        this.dialogs = [];
        this.errors = [];
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
    writePage,
    formHtml,
    validatorScript,
    Site,
    launchBrowser,
    FormPage
};
