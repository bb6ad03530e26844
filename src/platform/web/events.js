// What the program asks of the page most often, in one step each, and the
// page's events, delivered to the program's controls one at a time.
mergeInto(LibraryManager.library, {
  // A new element of the given tag and class.
  quorvel_create__deps: ['$Emval'],
  quorvel_create: function(tag, className) {
    var element = document.createElement(UTF8ToString(tag));
    if (HEAPU8[className]) element.className = UTF8ToString(className);
    return Emval.toHandle(element);
  },
  quorvel_set_style__deps: ['$Emval'],
  quorvel_set_style: function(element, property, value) {
    Emval.toValue(element).style.setProperty(UTF8ToString(property), UTF8ToString(value));
  },
  quorvel_set_attribute__deps: ['$Emval'],
  quorvel_set_attribute: function(element, name, value) {
    Emval.toValue(element).setAttribute(UTF8ToString(name), UTF8ToString(value));
  },
  // Places an element in its container: each edge a length of the form's
  // pixels (see the stylesheet).
  quorvel_place__deps: ['$Emval'],
  quorvel_place: function(element, left, top, width, height) {
    var style = Emval.toValue(element).style;
    var length = function(pixels) { return 'calc(var(--u) * ' + pixels + ')'; };
    style.left = length(left);
    style.top = length(top);
    style.width = length(width);
    style.height = length(height);
  },
  // Listens on source for events of the given type and delivers signal to
  // target; the listener is kept on owner, an element, until it is forgotten.
  quorvel_listen__deps: ['$Emval'],
  quorvel_listen: function(owner, source, type, signal, target) {
    var keeper = Emval.toValue(owner);
    var node = Emval.toValue(source);
    var name = UTF8ToString(type);
    var handler = function(event) {
      var s = signal;
      if (name === 'keydown') {
        // Enter, but not the one that ends an input method's composition.
        if (event.key !== 'Enter' || event.isComposing || event.keyCode === 229) return;
        event.preventDefault();
      } else if (name === 'visibilitychange' && !document.hidden) {
        s = signal + 1; // the signal for a page shown again follows the one for hidden
      }
      _quorvel_deliver(target, s);
    };
    node.addEventListener(name, handler);
    (keeper.quorvelListeners = keeper.quorvelListeners || []).push([node, name, handler]);
  },
  quorvel_forget__deps: ['$Emval', '$quorvelTip'],
  quorvel_forget: function(owner) {
    var keeper = Emval.toValue(owner);
    (keeper.quorvelListeners || []).forEach(function(l) {
      l[0].removeEventListener(l[1], l[2]);
    });
    delete keeper.quorvelListeners;
    delete keeper.quorvelCopy;
    delete keeper.quorvelImage;
    if (quorvelTip.owner === keeper) quorvelTip.close();
  },

  // A text field joins the page's keypad (see $quorvelKeypad); Enter from the
  // keypad delivers signal to target.
  quorvel_keypad_join__deps: ['$Emval', '$quorvelKeypad'],
  quorvel_keypad_join: function(field, signal, target) {
    quorvelKeypad.join(Emval.toValue(field), signal, target);
  },

  // A control's tooltip: the lines of its text, a picture above them where
  // one is given, and "Copy" where the control has a text to copy, "Copy
  // picture", "Save picture" and "Share" where it has an image, in a box of
  // the page's own (see $quorvelTip): the browser's tooltip (an element's
  // title) shows neither a picture nor a button. The picture comes as an SVG
  // document (see component.cpp), made into the page's own drawing the first
  // time the box shows it.
  quorvel_tip__deps: ['$Emval', '$quorvelTip'],
  quorvel_tip: function(element, text, svg) {
    var e = Emval.toValue(element);
    var t = UTF8ToString(text), s = UTF8ToString(svg);
    e.quorvelTip = t ? {text: t, svg: s} : null;
    quorvelTip.changed(e);
  },
  quorvel_copy_text__deps: ['$Emval', '$quorvelTip'],
  quorvel_copy_text: function(element, text) {
    var e = Emval.toValue(element);
    e.quorvelCopy = UTF8ToString(text);
    quorvelTip.changed(e);
  },
  // The control has an image, which the box asks target for (target null:
  // none any more), and its file's name without the extension.
  quorvel_image__deps: ['$Emval', '$quorvelTip'],
  quorvel_image: function(element, target, name) {
    var e = Emval.toValue(element);
    e.quorvelImage = target ? {target: target, name: UTF8ToString(name)} : null;
    quorvelTip.changed(e);
  },
  // The browser's copy, with nothing selected in the window, copies what
  // the component's "Copy" copies (see $quorvelCopy).
  quorvel_default_copy__deps: ['$Emval', '$quorvelCopy'],
  quorvel_default_copy: function(frame, component) {
    Emval.toValue(frame).quorvelDefaultCopy = Emval.toValue(component);
    quorvelCopy.start();
  },
  // A link to the page with another fragment, followed while the page is
  // open, does not open it anew: the program hears of it.
  quorvel_on_fragment: function() {
    window.addEventListener('hashchange', function() { _quorvel_fragment(); });
  },
  // The tooltip's box, a popover of the browser's own, over everything else
  // on the page. Where a mouse rests on a control for half a second, as a
  // desktop's tooltip waits, it opens below the pointer (above the control
  // where there is no room below), inside the view; it stays open while the
  // pointer is on the control or on the box, so that its buttons can be
  // reached, and closes once the pointer has left both, on a press anywhere
  // but in the box, and on Escape; after a press on the control, or Escape,
  // it waits until the pointer has left the control. On a touch screen,
  // where nothing hovers, a tap on the control opens it just above the
  // control, inside its window, so that it covers neither the control nor
  // the keypad; the next tap anywhere but in the box closes it, and a tap on
  // the same control again only closes it. Either way it shows in the
  // window's face at the window's scale, and takes no focus. Nothing of it
  // is made before a control is given a tooltip, nor the box before it opens.
  $quorvelTip__deps: ['$quorvelCopy'],
  $quorvelTip: {
    DELAY: 500,
    started: false,
    box: null,
    owner: null, // the control whose tooltip shows
    mode: null, // how it opened: 'hover' or 'tap'
    x: 0, y: 0, // where the pointer rested
    changed: function(control) {
      var tip = quorvelTip;
      if (control.quorvelTip) tip.start();
      if (tip.owner !== control) return;
      if (!control.quorvelTip) return tip.close();
      tip.fill(control);
      tip.place(control);
    },
    // The control whose tooltip a node of the page is part of, if any.
    of: function(node) {
      for (; node && node.nodeType === 1; node = node.parentNode)
        if (node.quorvelTip) return node;
      return null;
    },
    start: function() {
      var tip = quorvelTip;
      if (tip.started) return;
      tip.started = true;
      // The control under the mouse, and one closed by a press or Escape.
      var touch = false, closing = false, resting = null, under = null, pressed = null;
      var inBox = function(node) { return !!tip.box && tip.box.contains(node); };
      var hide = function() {
        clearTimeout(resting);
        resting = null;
        tip.close();
      };
      var moved = function(e) {
        if (e.pointerType !== 'mouse' || inBox(e.target)) return;
        var control = under = tip.of(e.target);
        if (control !== pressed) pressed = null;
        if (!control || control === pressed) {
          if (tip.mode !== 'tap') hide();
        } else if (tip.mode === 'hover') {
          // From one control to the next, the box shows the next one's at once.
          if (control !== tip.owner) tip.show(control, 'hover');
        } else if (!tip.mode) {
          clearTimeout(resting);
          resting = setTimeout(function() {
            resting = null;
            tip.x = e.clientX;
            tip.y = e.clientY;
            tip.show(control, 'hover');
          }, tip.DELAY);
        }
      };
      document.addEventListener('pointerover', moved);
      document.addEventListener('pointermove', moved);
      document.addEventListener('pointerout', function(e) {
        if (e.pointerType !== 'mouse' || e.relatedTarget) return;
        under = null;
        if (tip.mode !== 'tap') hide();
      });
      document.addEventListener('pointerdown', function(e) {
        touch = e.pointerType !== 'mouse';
        if (inBox(e.target)) return;
        closing = tip.owner !== null;
        pressed = touch ? null : tip.of(e.target);
        hide();
      }, true);
      document.addEventListener('click', function(e) {
        var control = tip.of(e.target);
        if (touch && !closing && control) tip.show(control, 'tap');
        closing = false;
      });
      document.addEventListener('keydown', function(e) {
        if (e.key !== 'Escape') return;
        pressed = under;
        hide();
      });
      // The window is laid out anew at another scale.
      window.addEventListener('resize', hide);
    },
    build: function() {
      var tip = quorvelTip;
      if (tip.box) return;
      var box = tip.box = document.createElement('div');
      box.setAttribute('popover', 'auto');
      if (!box.showPopover) box.hidden = true;
      // Closed by the browser too: a press elsewhere, Escape.
      box.addEventListener('beforetoggle', function(e) {
        if (e.newState === 'closed') tip.owner = tip.mode = null;
      });
      tip.lines = document.createElement('div');
      tip.lines.className = 'q-lines';
      // A screen reader has the lines as the control's description.
      tip.lines.setAttribute('aria-hidden', 'true');
      var actions = tip.actions = document.createElement('div');
      actions.className = 'q-actions';
      // Out of the Tab order, and pressed without taking the focus.
      tip.buttons = {};
      [['copy', 'Copy'], ['copyPicture', 'Copy picture'], ['save', 'Save picture'],
       ['share', 'Share']].forEach(function(b) {
        var button = tip.buttons[b[0]] = document.createElement('button');
        button.type = 'button';
        button.tabIndex = -1;
        button.textContent = button.label = b[1];
        button.addEventListener('mousedown', function(e) { e.preventDefault(); });
        button.addEventListener('click', function() {
          if (tip.owner) tip[b[0]](tip.owner, button);
        });
        actions.appendChild(button);
      });
      tip.said = document.createElement('span');
      tip.said.className = 'q-said';
      tip.said.setAttribute('aria-live', 'polite');
      box.append(tip.lines, actions, tip.said);
      document.body.appendChild(box);
    },
    // Shows or hides the box.
    open: function(shown) {
      var box = quorvelTip.box;
      if (!box.showPopover) box.hidden = !shown;
      else if (shown !== box.matches(':popover-open')) shown ? box.showPopover() : box.hidePopover();
    },
    show: function(control, mode) {
      var tip = quorvelTip;
      if (!control.closest('.q-frame')) return;
      // From one control to another with the same lines, the box stays put.
      var moving = tip.mode !== 'hover' || mode !== 'hover' ||
                   tip.owner.quorvelTip.text !== control.quorvelTip.text;
      tip.build();
      tip.owner = control;
      tip.mode = mode;
      tip.fill(control);
      if (moving) tip.place(control);
    },
    fill: function(control) {
      var tip = quorvelTip, data = control.quorvelTip, box = tip.box, image = control.quorvelImage;
      if (box.firstChild !== tip.lines) box.removeChild(box.firstChild);
      if (data.svg) {
        data.picture = data.picture || tip.draw(data.svg);
        box.insertBefore(data.picture, tip.lines);
      }
      tip.lines.textContent = data.text;
      var b = tip.buttons, none = true;
      b.copy.hidden = !control.quorvelCopy;
      b.copyPicture.hidden = !image || !tip.canCopyPicture();
      b.save.hidden = !image;
      b.share.hidden = !image || !tip.canShare();
      for (var name in b) {
        clearTimeout(b[name].telling);
        b[name].textContent = b[name].label;
        none = none && b[name].hidden;
      }
      tip.actions.hidden = none;
      tip.said.textContent = '';
      // The image is made as the box opens, so that it is ready for a
      // button that must hand it over at once.
      if (image) tip.png(image);
    },
    place: function(control) {
      var tip = quorvelTip, box = tip.box, style = box.style;
      var frame = control.closest('.q-frame');
      var outer = frame.getBoundingClientRect(), r = control.getBoundingClientRect();
      var u = outer.width / (parseFloat(frame.style.getPropertyValue('--w')) || outer.width);
      var view = document.documentElement;
      var picture = box.firstChild !== tip.lines && box.firstChild;
      box.className = 'q-tip q-' + tip.mode;
      style.setProperty('--u', u + 'px');
      if (picture) picture.style.width = '';
      if (tip.mode === 'tap') {
        var inner = (frame.querySelector('.q-client') || frame).getBoundingClientRect();
        style.left = inner.left + 3 * u + scrollX + 'px';
        style.width = inner.width - 6 * u + 'px';
        style.maxHeight = Math.max(r.top - inner.top - 6 * u, 0) + 'px';
        tip.open(true);
        // Where the lines leave too little room, the picture gives way, down
        // to half its width, rather than the box scroll.
        var over = box.scrollHeight - box.clientHeight;
        if (picture && over > 0) {
          var drawn = picture.getBoundingClientRect();
          picture.style.width = Math.max(drawn.width * (1 - over / drawn.height), drawn.width / 2) + 'px';
        }
        style.top = r.top - 3 * u - box.offsetHeight + scrollY + 'px';
        return;
      }
      // Measured where it has the whole view's width, then held at that size.
      style.left = style.top = '0px';
      style.width = '';
      style.maxHeight = view.clientHeight + 'px';
      tip.open(true);
      var size = box.getBoundingClientRect();
      style.width = size.width + 'px';
      // Below the pointer and its arrow, but never below the control, so
      // that the pointer meets the box as it leaves the control downwards.
      var top = Math.min(tip.y + 20, r.bottom);
      if (top + size.height > view.clientHeight)
        top = r.top >= size.height ? r.top - size.height : Math.max(view.clientHeight - size.height, 0);
      style.left = Math.max(Math.min(tip.x, view.clientWidth - size.width), 0) + scrollX + 'px';
      style.top = top + scrollY + 'px';
    },
    close: function() {
      var tip = quorvelTip;
      tip.owner = tip.mode = null;
      if (tip.box) tip.open(false);
    },
    // The picture's SVG document as an element of the page, scaled to the
    // box in its own pixels; its texts take the window's face (see the
    // stylesheet).
    draw: function(svg) {
      var picture = document.importNode(
          new DOMParser().parseFromString(svg, 'image/svg+xml').documentElement, true);
      picture.setAttribute('class', 'q-picture');
      picture.setAttribute('aria-hidden', 'true');
      picture.style.setProperty('--pw', picture.getAttribute('width'));
      picture.removeAttribute('width');
      picture.removeAttribute('height');
      return picture;
    },
    // A button says for a moment how what it did went (a screen reader hears
    // it too), then reads as before.
    say: function(button, said) {
      var tip = quorvelTip;
      var tell = function(label, said) {
        button.textContent = label;
        tip.said.textContent = said;
        // The button's new width may take it to a line of its own.
        if (tip.owner) tip.place(tip.owner);
      };
      tell(said, said);
      clearTimeout(button.telling);
      button.telling = setTimeout(function() { tell(button.label, ''); }, 1500);
    },
    // "Copy": the control's text on the clipboard, as plain text, through
    // the clipboard's interface, or where that is missing or refuses, as the
    // keyboard's copy would put it there.
    copy: function(control, button) {
      var text = control.quorvelCopy;
      var done = function(ok) { quorvelTip.say(button, ok ? 'Copied' : 'Not copied'); };
      var fallback = function() { done(quorvelCopy.command(text)); };
      if (navigator.clipboard && navigator.clipboard.writeText)
        navigator.clipboard.writeText(text).then(function() { done(true); }, fallback);
      else
        fallback();
    },
    // Whether the browser puts images on the clipboard.
    canCopyPicture: function() {
      return typeof ClipboardItem === 'function' && !!navigator.clipboard &&
             !!navigator.clipboard.write && (!ClipboardItem.supports || ClipboardItem.supports('image/png'));
    },
    // Whether the browser shares files (a phone's share sheet).
    canShare: function() {
      try {
        return !!navigator.canShare &&
               navigator.canShare({files: [new File([''], 'sighting.png', {type: 'image/png'})]});
      } catch (e) {
        return false;
      }
    },
    // "Copy picture": the image on the clipboard as a PNG, handed over in the
    // press's own turn as a promise, which browsers that allow it only
    // during the press take.
    copyPicture: function(control, button) {
      var done = function(ok) { quorvelTip.say(button, ok ? 'Copied' : 'Not copied'); };
      try {
        navigator.clipboard.write([new ClipboardItem({'image/png': quorvelTip.png(control.quorvelImage)})])
          .then(function() { done(true); }, function() { done(false); });
      } catch (e) {
        done(false);
      }
    },
    // "Save picture": the image downloaded as a PNG under its name.
    save: function(control, button) {
      var image = control.quorvelImage;
      quorvelTip.png(image).then(function(png) {
        var link = document.createElement('a');
        link.href = URL.createObjectURL(png);
        link.download = image.name + '.png';
        link.click();
        setTimeout(function() { URL.revokeObjectURL(link.href); }, 60000);
      }, function() { quorvelTip.say(button, 'Not saved'); });
    },
    // "Share": the image as a PNG file, the verdict and its working as text
    // and the link to the sighting, to the system's share sheet; at once,
    // in the tap's own turn, where the image is ready, as browsers ask.
    share: function(control, button) {
      var image = control.quorvelImage, lines = (control.quorvelCopy || '').split('\n');
      var data = {}, shared;
      if (lines.length > 1 && lines[lines.length - 1].indexOf(location.href.split('#')[0] + '#') === 0)
        data.url = lines.pop();
      data.text = lines.join('\n');
      var send = function(png) {
        data.files = [new File([png], image.name + '.png', {type: 'image/png'})];
        return navigator.share(data);
      };
      try {
        shared = image.made ? send(image.made) : quorvelTip.png(image).then(send);
      } catch (e) {
        shared = Promise.reject(e);
      }
      // A player who closes the sheet knows it was not shared.
      shared.catch(function(e) {
        if (!e || e.name !== 'AbortError') quorvelTip.say(button, 'Not shared');
      });
    },
    // The image as a PNG: a promise of it, made once for each image at each
    // scale of the screen. Its SVG document is drawn into a canvas at twice
    // the picture's size at least, at the screen's scale where that is more,
    // and 480 pixels wide at the least, with the page's own face inside it.
    png: function(image) {
      var scale = Math.max(2, window.devicePixelRatio || 1);
      if (image.png && image.scale === scale) return image.png;
      var svg = UTF8ToString(_quorvel_image_svg(image.target));
      var png = new Promise(function(made, failed) {
        if (!svg) return failed(new Error('no image'));
        var url = URL.createObjectURL(new Blob([quorvelTip.withFace(svg)], {type: 'image/svg+xml'}));
        var drawn = new Image();
        drawn.onload = function() {
          var w = drawn.naturalWidth, h = drawn.naturalHeight, s = Math.max(scale, 480 / w);
          var canvas = document.createElement('canvas');
          canvas.width = Math.round(w * s);
          canvas.height = Math.round(h * s);
          canvas.getContext('2d').drawImage(drawn, 0, 0, canvas.width, canvas.height);
          URL.revokeObjectURL(url);
          canvas.toBlob(function(blob) { blob ? made(blob) : failed(new Error('no PNG')); }, 'image/png');
        };
        drawn.onerror = function() {
          URL.revokeObjectURL(url);
          failed(new Error('no image'));
        };
        drawn.src = url;
      });
      image.png = png;
      image.scale = scale;
      image.made = null;
      // Kept for "Share", which must have it at once.
      png.then(function(blob) { if (image.png === png) image.made = blob; }, function() {});
      return png;
    },
    // An image drawn from an SVG document reaches none of the page's faces:
    // the document carries the page's regular and bold ones, which the page
    // holds as data already, and its texts take them, so that it looks as
    // the window does. Where the page has them as files, the document's own
    // list of faces stands.
    withFace: function(svg) {
      var tip = quorvelTip;
      if (tip.faces === undefined) {
        var faces = '';
        Array.prototype.forEach.call(document.styleSheets, function(sheet) {
          Array.prototype.forEach.call(sheet.cssRules, function(rule) {
            if (rule instanceof CSSFontFaceRule && rule.style.getPropertyValue('font-style') !== 'italic' &&
                rule.style.getPropertyValue('src').indexOf('data:') >= 0)
              faces += rule.cssText + '\n';
          });
        });
        tip.faces = faces ? '<style><![CDATA[\n' + faces +
            'svg { font-family: "Quorvel Dialog", "Liberation Sans", Arial, sans-serif; }\n]]></style>' : '';
      }
      var at = svg.indexOf('>', svg.indexOf('<svg')) + 1;
      return svg.slice(0, at) + tip.faces + svg.slice(at);
    },
  },

  // Copying text. The browser's own copy (Ctrl+C, Command-C on a Mac, the
  // menu's "Copy") copies what is selected, as always; with nothing
  // selected, in a field or in the page, it copies a window's verdict (the
  // text of the component given by quorvel_default_copy), where there is
  // one, and else nothing, the clipboard left as it was. And a text copied
  // as that copy copies, for "Copy" where the clipboard's interface is
  // missing or refuses.
  $quorvelCopy: {
    started: false,
    pending: null, // the text the copy under way puts on the clipboard
    delivered: false,
    start: function() {
      var copy = quorvelCopy;
      if (copy.started) return;
      copy.started = true;
      // A browser whose Copy waits for a selection (WebKit's menu item)
      // offers it where the page says it will copy, by cancelling beforecopy.
      document.addEventListener('beforecopy', function(e) {
        if (copy.text()) e.preventDefault();
      });
      // Cancelled with no text given, the copy leaves the clipboard as it
      // was, where WebKit's own would empty it.
      document.addEventListener('copy', function(e) {
        var text = copy.text();
        if (text === null || !e.clipboardData) return;
        if (text) e.clipboardData.setData('text/plain', text);
        e.preventDefault();
        copy.delivered = !!text;
      });
    },
    // What a copy now puts on the clipboard: null where the browser copies
    // what is selected, else the text, empty for nothing.
    text: function() {
      if (quorvelCopy.pending !== null) return quorvelCopy.pending;
      var focused = document.activeElement, selection = document.getSelection();
      try {
        if (focused && focused.selectionStart !== focused.selectionEnd) return null;
      } catch (e) {} // a control that has no selection
      if (selection && !selection.isCollapsed && String(selection)) return null;
      var anywhere = !focused || focused === document.body || focused === document.documentElement;
      var windows = document.querySelectorAll('.q-frame');
      for (var i = 0; i < windows.length; ++i) {
        var w = windows[i];
        if (!w.hidden && w.quorvelDefaultCopy && (anywhere || w.contains(focused)))
          return w.quorvelDefaultCopy.quorvelCopy || '';
      }
      return null;
    },
    // Copies text as the keyboard's copy does, with no selection and no
    // change of focus; whether the copy took it.
    command: function(text) {
      var copy = quorvelCopy;
      copy.start();
      copy.pending = text;
      copy.delivered = false;
      try {
        document.execCommand('copy');
      } catch (e) {}
      copy.pending = null;
      return copy.delivered;
    },
  },

  // The program's own keypad, for a thumb on a touch screen: the digits, the
  // point, the minus, delete and "Next". The page's stylesheet shows it, and
  // makes room for it beside or below the window, only where the pointer is
  // coarse; there the fields ask the browser for no keyboard of its own. A
  // key never takes the focus: it types into the focused field, at its caret,
  // through the browser's own editing, as a key of a keyboard would.
  $quorvelKeypad: {
    touch: null,
    join: function(field, signal, target) {
      var pad = quorvelKeypad;
      if (!pad.touch) pad.build();
      field.quorvelKeypad = {signal: signal, target: target, mode: field.getAttribute('inputmode')};
      pad.hint(field);
    },
    // The keyboard hint a field gives: none on a touch screen, where the
    // keypad stands in, its own elsewhere.
    hint: function(field) {
      var mode = quorvelKeypad.touch.matches ? 'none' : field.quorvelKeypad.mode;
      if (mode === null) field.removeAttribute('inputmode');
      else field.setAttribute('inputmode', mode);
    },
    build: function() {
      var pad = quorvelKeypad;
      pad.touch = window.matchMedia('(pointer: coarse)');
      var rehint = function() {
        document.querySelectorAll('input').forEach(function(f) { if (f.quorvelKeypad) pad.hint(f); });
      };
      if (pad.touch.addEventListener) pad.touch.addEventListener('change', rehint);
      else pad.touch.addListener(rehint);

      var keypad = document.createElement('div');
      keypad.className = 'q-keypad';
      keypad.setAttribute('role', 'group');
      keypad.setAttribute('aria-label', 'Keypad');
      // Row by row: the face, the accessible name where the face is no word,
      // and what the key does. Delete and "Next" stand two rows high.
      [['1'], ['2'], ['3'], ['', 'delete', 'delete'],
       ['4'], ['5'], ['6'],
       ['7'], ['8'], ['9'], ['Next', 'next field', 'next'],
       ['\u2212', 'minus', '-'], ['0'], ['.', 'point', '.']].forEach(function(k) {
        var key = document.createElement('div');
        var action = k[2] || k[0];
        key.className = 'q-key';
        key.setAttribute('data-key', action);
        key.setAttribute('role', 'button');
        if (k[1]) key.setAttribute('aria-label', k[1]);
        key.textContent = k[0];
        pad.wire(key, action);
        keypad.appendChild(key);
      });
      // No text selection, callout or menu on a long press.
      keypad.addEventListener('contextmenu', function(e) { e.preventDefault(); });
      (document.querySelector('main') || document.body).appendChild(keypad);
    },
    // A key acts when the finger (or the mouse button) that pressed it comes
    // up over it, as on a keyboard, however long it was held; the press is
    // cancelled, so that the focus stays where it is. Delete held down
    // deletes again and again. A click with no press before it, as a screen
    // reader gives, acts too; the click that follows a press does not.
    wire: function(key, action) {
      var held = false, repeat = null, repeated = false, released = -Infinity;
      var release = function() {
        held = false;
        key.classList.remove('q-down');
        clearTimeout(repeat);
        clearInterval(repeat);
        repeat = null;
      };
      key.addEventListener('pointerdown', function(e) {
        e.preventDefault();
        if (e.button !== 0 || !e.isPrimary) return;
        release();
        held = true;
        repeated = false;
        key.classList.add('q-down');
        if (action === 'delete') {
          repeat = setTimeout(function() {
            repeat = setInterval(function() {
              repeated = true;
              quorvelKeypad.press(action);
            }, 75);
          }, 500);
        }
      });
      key.addEventListener('pointerup', function(e) {
        if (!held) return;
        var r = key.getBoundingClientRect();
        var over = e.clientX >= r.left && e.clientX < r.right && e.clientY >= r.top && e.clientY < r.bottom;
        release();
        released = e.timeStamp;
        if (over && !repeated) quorvelKeypad.press(action);
      });
      key.addEventListener('pointercancel', release);
      key.addEventListener('pointerleave', release);
      key.addEventListener('mousedown', function(e) { e.preventDefault(); });
      key.addEventListener('click', function(e) {
        e.preventDefault();
        if (e.timeStamp - released > 1000) quorvelKeypad.press(action);
      });
    },
    // The fields that joined the keypad and show, in the focus order of the
    // window that holds field (of the page when field is null).
    fields: function(field) {
      var scope = (field && field.closest('.q-frame')) || document;
      return Array.prototype.filter.call(scope.querySelectorAll('input'), function(f) {
        return f.quorvelKeypad && !f.disabled && f.getClientRects().length > 0;
      });
    },
    press: function(action) {
      var pad = quorvelKeypad;
      var field = document.activeElement;
      if (!field || !field.quorvelKeypad || !field.isConnected) field = null;
      if (!field) {
        // With no field focused, the first field of the form takes what is
        // typed, after its text.
        if (action === 'delete') return;
        field = pad.fields(null)[0];
        if (!field) return;
        field.focus();
        var end = field.value.length;
        field.setSelectionRange(end, end);
        if (action === 'next') field.select();
        else pad.edit(field, action);
        return;
      }
      if (action !== 'next') return pad.edit(field, action);
      // "Next" walks the fields as Tab does, each text selected to be typed
      // over; after the last one, it is Enter.
      var fields = pad.fields(field);
      var next = fields[fields.indexOf(field) + 1];
      if (next) {
        next.focus();
        next.select();
      } else {
        _quorvel_deliver(field.quorvelKeypad.target, field.quorvelKeypad.signal);
      }
    },
    // Types text at the caret over the selection, or deletes as Backspace
    // does, with the events and undo step that typing gives; where the
    // browser's editing command is missing, the same change by hand.
    edit: function(field, text) {
      var remove = text === 'delete';
      var before = field.value;
      var done = false;
      try {
        done = document.execCommand(remove ? 'delete' : 'insertText', false, remove ? null : text);
      } catch (e) {}
      if (done && field.value !== before) return;
      var start = field.selectionStart, end = field.selectionEnd;
      if (start === null) return;
      if (remove && start === end) {
        if (start === 0) return;
        // A character beyond the first plane takes two code units.
        var low = before.charCodeAt(start - 1);
        start -= low >= 0xDC00 && low <= 0xDFFF && start > 1 &&
                 before.charCodeAt(start - 2) >= 0xD800 && before.charCodeAt(start - 2) <= 0xDBFF ? 2 : 1;
      }
      field.setRangeText(remove ? '' : text, start, end, 'end');
      field.dispatchEvent(new InputEvent('input', {
        bubbles: true,
        inputType: remove ? 'deleteContentBackward' : 'insertText',
        data: remove ? null : text
      }));
    },
  },
});
