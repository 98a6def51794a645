/*
 * Rollover buttons: a link whose image changes while the mouse is over it
 * (the active image) and while a mouse button is held down on it (the click
 * image). A page makes one MOverButton per link and calls callmover,
 * callmout, callmdown and callmup from the link's event handlers with the
 * link's name. Any number of buttons may stand on one page.
 *
 * Written for the browsers of HTML 4 as well as current ones: plain
 * functions, no later language features, every newer DOM call tested first.
 */

/* The buttons of the page by link name. Keys carry a prefix so that no
   name can meet a property every object has. */
var mob_buttons = new Object();

function mob_key(anchorName) {
    return "mob_" + anchorName;
}

/* One image of a button, loaded ahead so that the change is immediate. */
function mob_LoadImage(src, width, height) {
    var entry = new Object();
    entry.src = src;
    entry.width = width;
    entry.height = height;
    entry.image = null;
    if (typeof Image != "undefined") {
        entry.image = new Image();
        entry.image.src = src;
    }
    return entry;
}

/* The element with the given name among a collection, or null. */
function mob_FindNamed(collection, name) {
    var i;
    if (!collection)
        return null;
    if (collection[name] && collection[name].tagName)
        return collection[name];
    for (i = 0; i < collection.length; i++) {
        if (collection[i].name == name)
            return collection[i];
    }
    return null;
}

function mob_FindElement(name, collection) {
    var found = mob_FindNamed(collection, name);
    var list;
    if (found)
        return found;
    if (document.getElementsByName) {
        list = document.getElementsByName(name);
        if (list && list.length > 0)
            return list[0];
    }
    return null;
}

function MOverButton(anchorName, imageName, statusText) {
    this.anchorName = anchorName;
    this.imageName = imageName;
    this.statusText = statusText;
    this.normal = null;
    this.active = null;
    this.click = null;
    this.over = false;
    this.down = false;
    this.shown = null;
    this.prepared = false;
    mob_buttons[mob_key(anchorName)] = this;
    this.Prepare();
}

MOverButton.prototype.SetNormalImage = function(src, width, height) {
    this.normal = mob_LoadImage(src, width, height);
};

MOverButton.prototype.SetActiveImage = function(src, width, height) {
    this.active = mob_LoadImage(src, width, height);
};

MOverButton.prototype.SetClickImage = function(src, width, height) {
    this.click = mob_LoadImage(src, width, height);
};

MOverButton.prototype.GetImage = function() {
    return mob_FindElement(this.imageName, document.images);
};

MOverButton.prototype.GetAnchor = function() {
    return mob_FindElement(this.anchorName, document.anchors);
};

/* Readies the link once it is in the page: current browsers show no
   status-bar texts, so the status text becomes the link's tooltip unless
   the page gave it one; a touch on the link shows the click image, and the
   tap still follows the link. */
MOverButton.prototype.Prepare = function() {
    var anchor, button;
    if (this.prepared)
        return;
    anchor = this.GetAnchor();
    if (!anchor)
        return;
    this.prepared = true;
    if (this.statusText && !anchor.title)
        anchor.title = this.statusText;
    if (anchor.addEventListener) {
        button = this;
        anchor.addEventListener("touchstart", function() {
            button.down = true;
            button.Update();
        }, false);
        anchor.addEventListener("touchend", function() {
            button.down = false;
            button.Update();
        }, false);
        anchor.addEventListener("touchcancel", function() {
            button.down = false;
            button.over = false;
            button.Update();
        }, false);
    }
};

/* Shows the image that fits the state: click while held down, active while
   the mouse is over the link, else normal. A missing image falls back to
   the one below it. */
MOverButton.prototype.Update = function() {
    var entry = this.normal;
    var image;
    if (this.over && this.active)
        entry = this.active;
    if (this.down && this.click)
        entry = this.click;
    if (!entry)
        return;
    image = this.GetImage();
    if (!image)
        return;
    if (this.shown != entry) {
        image.src = entry.src;
        this.shown = entry;
    }
    if (entry.width > 0 && image.width != entry.width)
        image.width = entry.width;
    if (entry.height > 0 && image.height != entry.height)
        image.height = entry.height;
};

function mob_Find(anchorName) {
    var button = mob_buttons[mob_key(anchorName)];
    if (!button)
        return null;
    button.Prepare();
    return button;
}

function callmover(anchorName) {
    var button = mob_Find(anchorName);
    if (!button)
        return true;
    button.over = true;
    button.Update();
    window.status = button.statusText;
    /* True keeps the status text from being replaced by the link's address. */
    return true;
}

function callmout(anchorName) {
    var button = mob_Find(anchorName);
    if (!button)
        return true;
    button.over = false;
    button.down = false;
    button.Update();
    window.status = "";
    return true;
}

function callmdown(anchorName) {
    var button = mob_Find(anchorName);
    if (!button)
        return true;
    button.down = true;
    button.Update();
    return true;
}

function callmup(anchorName) {
    var button = mob_Find(anchorName);
    if (!button)
        return true;
    button.down = false;
    button.Update();
    return true;
}
