/*
 * gen_validatorv3.js: client-side form validation for the forms written by
 * the Ondrelo form wizard.
 *
 *   var v = new Validator("myform");
 *   v.addValidation("email", "req", "Please enter the value for email");
 *   v.setAddnlValidationFunction("validate_myform");
 *
 * On submission the checks run in the order they were added. The first one
 * that fails shows its message, puts the focus on its element and cancels
 * the submission. When all pass, the additional function (if any) runs and
 * a false result cancels. A handler the page had already set on the form's
 * onsubmit still runs afterwards, and its false still cancels.
 *
 * An empty field passes every check except "req" (and the comparisons with
 * a filled-in field, so that "equal to" catches an empty confirmation), so
 * an optional field is only checked once the visitor has typed something.
 * Blanks around a typed value are ignored by every check of a text field,
 * except "equal to" and "different from", which compare the two texts
 * exactly as typed (a confirmation must repeat what will be sent).
 *
 * Written for the browsers of HTML 4 as well as current ones: plain DOM,
 * no language features beyond ECMAScript 3.
 */

function Validator(formName) {
    this.formName = formName;
    this.checks = [];
    this.addnlFunction = null;
    this.form = null;
    this.attach();
}

/* Finds the form and takes over its onsubmit, keeping the page's handler. */
Validator.prototype.attach = function() {
    var form = Validator.findForm(this.formName);
    var self = this;
    if (!form) {
        /* The script stands before its form: try again once the page is in. */
        Validator.onPageLoaded(function() {
            if (!self.form) {
                var later = Validator.findForm(self.formName);
                if (later) {
                    self.hook(later);
                }
            }
        });
        return;
    }
    this.hook(form);
};

Validator.prototype.hook = function(form) {
    var self = this;
    var pageHandler = form.onsubmit;
    this.form = form;
    form.onsubmit = function(evt) {
        if (!self.validate()) {
            return false;
        }
        if (typeof pageHandler == 'function') {
            if (pageHandler.call(form, evt || window.event) === false) {
                return false;
            }
        }
        return true;
    };
};

Validator.prototype.addValidation = function(elementName, descriptor, message) {
    var text = String(descriptor);
    var eq = text.indexOf('=');
    var command = eq < 0 ? text : text.substring(0, eq);
    var argument = eq < 0 ? '' : text.substring(eq + 1);
    this.checks[this.checks.length] = {
        name: String(elementName),
        command: Validator.trim(command).toLowerCase(),
        argument: argument,
        message: message === undefined || message === null ? '' : String(message)
    };
};

/* Takes the name of a global function, as the wizard writes it, or a function. */
Validator.prototype.setAddnlValidationFunction = function(fn) {
    this.addnlFunction = fn;
};

/* Runs every check; true when the form may be submitted. */
Validator.prototype.validate = function() {
    var i;
    var failure;
    var fn;
    if (!this.form) {
        return true;
    }
    for (i = 0; i < this.checks.length; i++) {
        failure = this.runCheck(this.checks[i]);
        if (failure) {
            alert(this.checks[i].message);
            Validator.focus(failure);
            return false;
        }
    }
    fn = this.addnlFunction;
    if (typeof fn == 'string') {
        fn = Validator.globalFunction(fn);
    }
    if (typeof fn == 'function') {
        if (fn.call(this.form) === false) {
            return false;
        }
    }
    return true;
};

/*
 * Returns the element to focus when the check fails, null when it passes.
 * A check on an element the form does not hold, or with a descriptor this
 * script does not know, cannot fail.
 */
Validator.prototype.runCheck = function(check) {
    var elements = Validator.elementsNamed(this.form, check.name);
    var first = elements.length > 0 ? elements[0] : null;
    var commands = Validator.commands;
    var handler = commands.hasOwnProperty(check.command) ? commands[check.command] : null;
    if (!first || typeof handler != 'function') {
        return null;
    }
    var result = handler(elements, check.argument, this.form, check.name);
    if (result === true) {
        return null;
    }
    return result === false ? first : result;
};

/*
 * The checks by descriptor. Each takes the elements of the name, the text
 * after "=", the form and the name, and returns true when the check passes,
 * otherwise false or the element that should get the focus.
 */
Validator.commands = {
    req: function(els) {
        if (Validator.isChoice(els[0])) {
            return Validator.countChecked(els, '') > 0;
        }
        return Validator.textFor(els) !== '';
    },
    alpha: function(els) { return Validator.matchesIfFilled(els, Validator.alphaPattern); },
    alpha_s: function(els) { return Validator.matchesIfFilled(els, Validator.alphaSpacePattern); },
    alnum: function(els) { return Validator.matchesIfFilled(els, Validator.alnumPattern); },
    alnum_s: function(els) { return Validator.matchesIfFilled(els, Validator.alnumSpacePattern); },
    num: function(els) {
        var value = Validator.textFor(els);
        return value === '' || Validator.isNumber(value);
    },
    email: function(els) { return Validator.matchesIfFilled(els, Validator.emailPattern); },
    regexp: function(els, pattern) {
        var value = Validator.textFor(els);
        var re;
        if (value === '') {
            return true;
        }
        try {
            re = new RegExp(pattern);
        } catch (e) {
            /* A pattern this browser cannot compile cannot vouch for the
               input: refuse rather than let anything through. */
            return false;
        }
        return re.test(value);
    },
    maxlen: function(els, limit) {
        var max = parseInt(limit, 10);
        return isNaN(max) || Validator.textFor(els).length <= max;
    },
    minlen: function(els, limit) {
        var min = parseInt(limit, 10);
        var value = Validator.textFor(els);
        return isNaN(min) || value === '' || value.length >= min;
    },
    lt: function(els, bound) { return Validator.boundCheck(els, bound, -1); },
    gt: function(els, bound) { return Validator.boundCheck(els, bound, 1); },
    eqelmnt: function(els, other, form) { return Validator.compareCheck(els, other, form, 'eq'); },
    neelmnt: function(els, other, form) { return Validator.compareCheck(els, other, form, 'ne'); },
    ltelmnt: function(els, other, form) { return Validator.compareCheck(els, other, form, 'lt'); },
    leelmnt: function(els, other, form) { return Validator.compareCheck(els, other, form, 'le'); },
    gtelmnt: function(els, other, form) { return Validator.compareCheck(els, other, form, 'gt'); },
    geelmnt: function(els, other, form) { return Validator.compareCheck(els, other, form, 'ge'); },
    selmin: function(els, count, form, name) {
        var min = parseInt(count, 10);
        if (isNaN(min)) {
            min = 1;
        }
        return Validator.countChecked(Validator.groupNamed(form, name, els), 'checkbox') >= min;
    },
    selone: function(els, arg, form, name) {
        return Validator.countChecked(Validator.groupNamed(form, name, els), 'radio') > 0;
    },
    dontselectchk: function(els, value, form, name) {
        var i;
        var group = Validator.groupNamed(form, name, els);
        for (i = 0; i < group.length; i++) {
            if (Validator.isChoice(group[i]) && group[i].checked && group[i].value == value) {
                return group[i];
            }
        }
        return true;
    },
    dontselect: function(els, index) {
        var i;
        var at = parseInt(index, 10);
        for (i = 0; i < els.length; i++) {
            var opts = els[i].options;
            if (opts && at >= 0 && at < opts.length && opts[at].selected) {
                return els[i];
            }
        }
        return true;
    }
};

/*
 * Letters: ASCII, Latin-1, Latin Extended-A and -B, Latin Extended
 * Additional, Greek and Cyrillic, with the combining accents that follow a
 * letter in decomposed text. Written as ranges, which every browser's
 * expressions know.
 */
Validator.letters =
    'A-Za-z\u00AA\u00B5\u00BA\u00C0-\u00D6\u00D8-\u00F6\u00F8-\u024F' +
    '\u0300-\u036F\u0370-\u0373\u0376\u0377\u037A-\u037D\u037F\u0386' +
    '\u0388-\u038A\u038C\u038E-\u03A1\u03A3-\u03FF' +
    '\u0400-\u0481\u0483-\u052F\u1E00-\u1EFF';
Validator.alphaPattern = new RegExp('^[' + Validator.letters + ']+$');
Validator.alphaSpacePattern = new RegExp('^[' + Validator.letters + ' ]+$');
Validator.alnumPattern = new RegExp('^[' + Validator.letters + '0-9]+$');
Validator.alnumSpacePattern = new RegExp('^[' + Validator.letters + '0-9 ]+$');

/*
 * local@domain. The local part is dot-separated runs of the characters mail
 * allows unquoted (no leading, trailing or doubled dot). The domain has at
 * least two labels of letters, digits and inner hyphens, at most 63
 * characters each; the last one, the top-level domain, is letters, or an
 * internationalised one in its ASCII form ("xn--...").
 */
Validator.emailPattern = new RegExp(
    '^[A-Za-z0-9!#$%&\'*+/=?^_`{|}~-]+(\\.[A-Za-z0-9!#$%&\'*+/=?^_`{|}~-]+)*' +
    '@([A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?\\.)+' +
    '([A-Za-z]{2,63}|[Xx][Nn]--[A-Za-z0-9-]{0,58}[A-Za-z0-9])$');

Validator.numberPattern = /^[-+]?(\d+(\.\d*)?|\.\d+)([eE][-+]?\d+)?$/;

/* A number as a person types it: digits with an optional sign and decimal
   point, no exponent and no thousands separator. */
Validator.typedNumberPattern = /^[-+]?(\d+(\.\d*)?|\.\d+)$/;

Validator.trim = function(s) {
    return String(s).replace(/^\s+|\s+$/g, '');
};

Validator.isNumber = function(s) {
    return Validator.numberPattern.test(Validator.trim(s));
};

Validator.matchesIfFilled = function(els, re) {
    var value = Validator.textFor(els);
    return value === '' || re.test(value);
};

/* A filled-in value must be a number on the right side of the bound. */
Validator.boundCheck = function(els, bound, side) {
    var value = Validator.textFor(els);
    var limit = parseFloat(bound);
    var n;
    if (value === '' || isNaN(limit)) {
        return true;
    }
    if (!Validator.isNumber(value)) {
        return false;
    }
    n = parseFloat(Validator.trim(value));
    return side < 0 ? n < limit : n > limit;
};

/*
 * Compares this element's value with the named element's. Equality and
 * difference compare the texts exactly as typed. An ordering compares as
 * numbers when both values are numbers as a person types them ("1,000" and
 * "1e3" are not), as text otherwise, with surrounding blanks ignored. Two
 * empty values pass; an ordering passes when either side is empty, since
 * there is nothing to order yet.
 */
Validator.compareCheck = function(els, otherName, form, op) {
    var others = Validator.elementsNamed(form, Validator.trim(otherName));
    var a;
    var b;
    var order;
    if (others.length == 0) {
        return true;
    }
    if (op == 'eq' || op == 'ne') {
        a = Validator.valueFor(els);
        b = Validator.valueFor(others);
        if (a === '' && b === '') {
            return true;
        }
        return (a === b) == (op == 'eq');
    }
    a = Validator.textFor(els);
    b = Validator.textFor(others);
    if (a === '' || b === '') {
        return true;
    }
    if (Validator.typedNumberPattern.test(a) && Validator.typedNumberPattern.test(b)) {
        a = parseFloat(a);
        b = parseFloat(b);
    }
    order = a < b ? -1 : (a > b ? 1 : 0);
    switch (op) {
        case 'lt':
            return order < 0;
        case 'le':
            return order <= 0;
        case 'gt':
            return order > 0;
        default:
            return order >= 0;
    }
};

Validator.isChoice = function(el) {
    var type = String(el.type).toLowerCase();
    return type == 'checkbox' || type == 'radio';
};

/* Counts the checked boxes or buttons; an empty type counts both. */
Validator.countChecked = function(els, type) {
    var n = 0;
    var i;
    for (i = 0; i < els.length; i++) {
        var t = String(els[i].type).toLowerCase();
        if ((type === '' ? Validator.isChoice(els[i]) : t == type) && els[i].checked) {
            n++;
        }
    }
    return n;
};

/* The value the form would submit for the name (the first one, for groups). */
Validator.valueFor = function(els) {
    var i;
    var el = els[0];
    if (Validator.isChoice(el)) {
        for (i = 0; i < els.length; i++) {
            if (Validator.isChoice(els[i]) && els[i].checked) {
                return String(els[i].value);
            }
        }
        return '';
    }
    if (String(el.type).toLowerCase().indexOf('select') == 0 && el.options) {
        if (el.selectedIndex < 0) {
            return '';
        }
        var opt = el.options[el.selectedIndex];
        return String(opt.value !== '' ? opt.value : opt.text);
    }
    return el.value === undefined || el.value === null ? '' : String(el.value);
};

/* The value without the blanks around it, as the text checks read it. */
Validator.textFor = function(els) {
    return Validator.trim(Validator.valueFor(els));
};

/*
 * The check boxes or radio buttons of a group: the wizard groups them by
 * name without regard to letter case, so "Colors" and "colors" count
 * together. Other controls keep the elements found by name.
 */
Validator.groupNamed = function(form, name, els) {
    var group = [];
    var lower = String(name).toLowerCase();
    var all = form.elements;
    var i;
    if (!Validator.isChoice(els[0])) {
        return els;
    }
    for (i = 0; i < all.length; i++) {
        var n = all[i].name;
        if (n !== undefined && n !== null && String(n).toLowerCase() == lower &&
            Validator.isChoice(all[i])) {
            group[group.length] = all[i];
        }
    }
    return group.length > 0 ? group : els;
};

/* The form's controls of this name: exact name first, else any letter case. */
Validator.elementsNamed = function(form, name) {
    var exact = [];
    var loose = [];
    var lower = String(name).toLowerCase();
    var els = form.elements;
    var i;
    for (i = 0; i < els.length; i++) {
        var n = els[i].name;
        if (n === undefined || n === null || n === '') {
            continue;
        }
        if (n == name) {
            exact[exact.length] = els[i];
        } else if (String(n).toLowerCase() == lower) {
            loose[loose.length] = els[i];
        }
    }
    return exact.length > 0 ? exact : loose;
};

/*
 * The form of that name. The generated call names the form without spaces,
 * hyphens and quotes (it is an identifier's stem too), so a form whose name
 * has them, such as one read from an existing page, is found by that
 * cleaned name when no form bears the exact one.
 */
Validator.findForm = function(name) {
    var forms = document.forms;
    var i;
    var loose = null;
    if (!forms) {
        return null;
    }
    for (i = 0; i < forms.length; i++) {
        var own = forms[i].getAttribute ? forms[i].getAttribute('name') : forms[i].name;
        if (own === null || own === undefined) {
            continue;
        }
        if (own == name) {
            return forms[i];
        }
        if (!loose && String(own).replace(/[ \-"']/g, '') == name) {
            loose = forms[i];
        }
    }
    return loose;
};

Validator.globalFunction = function(name) {
    var fn = window[name];
    return typeof fn == 'function' ? fn : null;
};

Validator.focus = function(el) {
    try {
        if (el.focus) {
            el.focus();
        }
        if (el.select && String(el.type).toLowerCase() == 'text') {
            el.select();
        }
    } catch (e) {
        /* Hidden or disabled controls cannot take the focus. */
    }
};

/* Runs fn once the page has loaded, keeping any onload the page has. */
Validator.onPageLoaded = function(fn) {
    if (window.addEventListener) {
        window.addEventListener('load', fn, false);
    } else if (window.attachEvent) {
        window.attachEvent('onload', fn);
    } else {
        var previous = window.onload;
        window.onload = function() {
            if (typeof previous == 'function') {
                previous();
            }
            fn();
        };
    }
};
