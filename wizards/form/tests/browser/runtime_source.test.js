'use strict';
// The validator runtime must load in the browsers of HTML 4 as well as in
// current ones: it is parsed at the language level of ECMAScript 3, and
// must not lean on DOM or library calls those browsers lacked.

const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {describe, it} = require('node:test');

function source() {
    const dir = process.env.ONDRELO_SCRIPTS_DIR;
    assert.ok(dir, 'ONDRELO_SCRIPTS_DIR is not set');
    return fs.readFileSync(path.join(dir, 'gen_validatorv3.js'), 'utf8');
}

function acorn() {
    try {
        return require('acorn');
    } catch (e) {
        throw new Error('acorn is not installed: run tools/browser-deps BUILD_DIR');
    }
}

describe('the validator runtime source', () => {
    it('parses as ECMAScript 3', () => {
        // Throws with the line and column of the first construct ES3 lacks.
        acorn().parse(source(), {ecmaVersion: 3, sourceType: 'script'});
    });

    it('the ES3 check refuses later syntax', () => {
        for (const later
                 of ['var f = (a) => a;', 'let a = 1;', 'var o = {a: 1,};', 'var s = `t`;']) {
            assert.throws(() => acorn().parse(later, {ecmaVersion: 3}), SyntaxError, later);
        }
    });

    it('calls no library functions that old browsers lacked', () => {
        const code = source().replace(/\/\*[\s\S]*?\*\/|\/\/.*$/gm, '');
        const later = [
            /(?<!Validator)\.trim\(/,
            /\.forEach\(/,
            /\.map\(/,
            /\.filter\(/,
            /\bArray\.isArray\b/,
            /\bObject\.keys\b/,
            /\bJSON\./,
            /\.classList\b/,
            /\bquerySelector/,
            /\.bind\(/,
            /\bpreventDefault\b/,
        ];
        for (const re of later) {
            const found = code.match(re);
            assert.equal(found, null, 'the runtime uses ' + (found && found[0]));
        }
    });
});
