/*
 * dlink.js - a drop-down list of links.
 *
 * The page holds a form with one selection list; the generated script makes
 * a DLinkCombo for it and registers each entry's address and target window:
 *
 *   var combo = new DLinkCombo(document.forms["f"].elements["list"]);
 *   combo.addLink(0, "", "");                  // a prompt entry: does nothing
 *   combo.addLink(1, "index.html", "_self");
 *
 * Choosing an entry opens its address in its target: "_blank" a new window,
 * "_self" or no target this window, "_parent" and "_top" those frames, any
 * other name the window or frame of that name (a new window of that name if
 * there is none).
 *
 * With the mouse an entry opens as soon as it is chosen. With the keyboard
 * the arrow keys only move through the list, and Enter opens the entry, so
 * that walking through the list does not leave the page at the first step.
 *
 * Plain DOM and ES3, for old and new browsers alike.
 */

function DLinkCombo(selectElement) {
    this.select = selectElement;
    this.links = {};
    // True while the selection was last moved by a key other than Enter:
    // the change that follows is a step through the list, not a choice.
    this.keyStepping = false;
    if (selectElement) {
        this.attach();
    }
}

DLinkCombo.prototype.addLink = function (value, url, target) {
    this.links["v" + value] = { url: url == null ? "" : String(url),
                                target: target == null ? "" : String(target) };
};

// The entry of the selected option, or null.
DLinkCombo.prototype.selectedEntry = function () {
    var select = this.select;
    if (!select || select.selectedIndex < 0) {
        return null;
    }
    var option = select.options[select.selectedIndex];
    var entry = this.links["v" + option.value];
    return entry ? entry : null;
};

// Opens the selected entry's address in its target; false when there is
// nothing to open (no entry, or an entry without an address).
DLinkCombo.prototype.openSelected = function () {
    var entry = this.selectedEntry();
    if (!entry || entry.url === "") {
        return false;
    }
    var target = entry.target;
    if (target === "" || target === "_self") {
        window.location.href = entry.url;
        return true;
    }
    if (target === "_parent") {
        window.parent.location.href = entry.url;
    } else if (target === "_top") {
        window.top.location.href = entry.url;
    } else {
        // "_blank" opens a new window; any other name finds the window or
        // frame of that name, or opens a new window with that name.
        window.open(entry.url, target);
    }
    // This page stays: the list shows its first entry again, so that the
    // same entry can be chosen once more.
    if (this.select.options.length > 0) {
        this.select.selectedIndex = 0;
    }
    return true;
};

DLinkCombo.isStepKey = function (code) {
    // Arrows, Page Up/Down, Home/End, and printable characters (which jump
    // to the entry starting with them).
    return (code >= 33 && code <= 40) || (code >= 48 && code <= 90) ||
        (code >= 96 && code <= 111) || code >= 186;
};

DLinkCombo.listen = function (element, type, handler) {
    if (element.addEventListener) {
        element.addEventListener(type, handler, false);
    } else if (element.attachEvent) {
        element.attachEvent("on" + type, handler);
    } else {
        var previous = element["on" + type];
        element["on" + type] = function (e) {
            if (previous) {
                previous(e);
            }
            return handler(e);
        };
    }
};

DLinkCombo.prototype.attach = function () {
    var self = this;
    var select = this.select;
    DLinkCombo.listen(select, "keydown", function (e) {
        e = e || window.event;
        var code = e.keyCode || e.which;
        if (code === 13) {
            self.keyStepping = false;
            if (self.openSelected() && e.preventDefault) {
                e.preventDefault();
            }
            return;
        }
        // Alt+Down, F4 and the space bar open the list; a choice made in the
        // open list counts as a choice.
        if (e.altKey || code === 115 || code === 32) {
            self.keyStepping = false;
            return;
        }
        if (DLinkCombo.isStepKey(code)) {
            self.keyStepping = true;
        }
    });
    DLinkCombo.listen(select, "mousedown", function () {
        self.keyStepping = false;
    });
    DLinkCombo.listen(select, "focus", function () {
        self.keyStepping = false;
    });
    DLinkCombo.listen(select, "change", function () {
        if (self.keyStepping) {
            return;
        }
        self.openSelected();
    });
};
