'use strict';
// "dlink.js" must load in the browsers of HTML 4 as well as in current
// ones: it parses at the language level of ECMAScript 3 and uses no
// library calls those browsers lacked.

const assert = require('node:assert/strict');
const {describe, it} = require('node:test');
const {scriptSource} = require('./harness');

describe('the drop-down runtime source', () => {
    it('parses as ECMAScript 3', () => {
        require('acorn').parse(scriptSource(), {ecmaVersion: 3, sourceType: 'script'});
    });

    it('calls no library functions that old browsers lacked', () => {
        const code = scriptSource().replace(/\/\*[\s\S]*?\*\/|\/\/.*$/gm, '');
        for (const re of [/\.forEach\(/, /\.map\(/, /\.filter\(/, /\bObject\.keys\b/, /\bJSON\./,
                          /\bquerySelector/, /\.bind\(/, /\.trim\(/, /\bclassList\b/]) {
            assert.equal(code.match(re), null, 'the runtime uses ' + re);
        }
    });
});
