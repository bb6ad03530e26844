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
    if (quorvelTip.owner === keeper) quorvelTip.close();
  },

  // A text field joins the page's keypad (see $quorvelKeypad); Enter from the
  // keypad delivers signal to target.
  quorvel_keypad_join__deps: ['$Emval', '$quorvelKeypad'],
  quorvel_keypad_join: function(field, signal, target) {
    quorvelKeypad.join(Emval.toValue(field), signal, target);
  },

  // A control's tooltip: the lines of its text, a picture above them where
  // one is given, and "Copy" where the control has a text to copy, in a box
  // of the page's own (see $quorvelTip): the browser's tooltip (an element's
  // title) shows neither a picture nor a button. The picture comes as its
  // shapes, quorvelTip.RECORD numbers each (see component.cpp), and the
  // texts of its texts, one a line; it is copied out of the module's memory.
  quorvel_tip__deps: ['$Emval', '$quorvelTip'],
  quorvel_tip: function(element, text, width, height, shapes, count, texts) {
    var e = Emval.toValue(element);
    var t = UTF8ToString(text);
    var first = shapes >> 2;
    e.quorvelTip = t ? {
      text: t,
      picture: count && width > 0 && height > 0 ? {
        width: width, height: height, shapes: HEAPF32.slice(first, first + count),
        texts: UTF8ToString(texts).split('\n')} : null
    } : null;
    quorvelTip.changed(e);
  },
  quorvel_copy_text__deps: ['$Emval', '$quorvelTip'],
  quorvel_copy_text: function(element, text) {
    var e = Emval.toValue(element);
    e.quorvelCopy = UTF8ToString(text);
    quorvelTip.changed(e);
  },
  // A link to the page with another fragment, followed while the page is
  // open, does not open it anew: the program hears of it.
  quorvel_on_fragment: function() {
    window.addEventListener('hashchange', function() { _quorvel_fragment(); });
  },
  // The tooltip's box. Where a mouse rests on a control for half a second,
  // as a desktop's tooltip waits, it opens below the pointer (above the
  // control where there is no room below), inside the view; it stays open
  // while the pointer is on the control or on the box, so that "Copy" can be
  // reached, and closes once the pointer has left both, on a press anywhere
  // but in the box, and on Escape; after a press on the control, or Escape,
  // it waits until the pointer has left the control. On a touch screen,
  // where nothing hovers, a tap on the control opens it just above the
  // control, inside its window, so that it covers neither the control nor
  // the keypad; the next tap anywhere but in the box closes it, and a tap on
  // the same control again only closes it. Either way it shows in the
  // window's face at the window's scale, and takes no focus. Nothing of it
  // is made before a control is given a tooltip, nor the box before it opens.
  $quorvelTip: {
    DELAY: 500,
    RECORD: 24,
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
      box.hidden = true;
      tip.lines = document.createElement('div');
      tip.lines.className = 'q-lines';
      // A screen reader has the lines as the control's description.
      tip.lines.setAttribute('aria-hidden', 'true');
      // Out of the Tab order, and pressed without taking the focus.
      var copy = tip.button = document.createElement('button');
      copy.type = 'button';
      copy.className = 'q-copy';
      copy.tabIndex = -1;
      copy.addEventListener('mousedown', function(e) { e.preventDefault(); });
      copy.addEventListener('click', tip.copy);
      tip.said = document.createElement('span');
      tip.said.className = 'q-said';
      tip.said.setAttribute('aria-live', 'polite');
      box.append(tip.lines, copy, tip.said);
      document.body.appendChild(box);
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
      var tip = quorvelTip, data = control.quorvelTip, box = tip.box;
      if (box.firstChild !== tip.lines) box.removeChild(box.firstChild);
      if (data.picture) {
        data.svg = data.svg || tip.draw(data.picture);
        box.insertBefore(data.svg, tip.lines);
      }
      tip.lines.textContent = data.text;
      tip.button.hidden = !control.quorvelCopy;
      tip.told('Copy', '');
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
        box.hidden = false;
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
      box.hidden = false;
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
      if (tip.box) tip.box.hidden = true;
      tip.owner = tip.mode = null;
    },
    // The picture as an SVG drawing, in its own pixels scaled to the box.
    draw: function(picture) {
      var NS = 'http://www.w3.org/2000/svg', numbers = picture.shapes, texts = 0;
      var svg = document.createElementNS(NS, 'svg');
      var set = function(element, attributes) {
        for (var name in attributes) element.setAttribute(name, attributes[name]);
        return element;
      };
      var rgb = function(c) { return 'rgb(' + (c >> 16) + ',' + (c >> 8 & 255) + ',' + (c & 255) + ')'; };
      set(svg, {'class': 'q-picture', viewBox: '0 0 ' + picture.width + ' ' + picture.height,
                'aria-hidden': 'true'});
      svg.style.setProperty('--pw', picture.width);
      for (var i = 0; i + quorvelTip.RECORD <= numbers.length; i += quorvelTip.RECORD) {
        var n = function(k) { return isFinite(numbers[i + k]) ? Math.round(numbers[i + k] * 1000) / 1000 : 0; };
        var kind = n(0), filled = n(1) & 1, stroked = n(1) & 2, line = n(4);
        var x = n(5), y = n(6), w = n(7), h = n(8), shape;
        if (kind === 0) {
          // A rectangle's outline lies inside its box: SVG strokes the middle of the edge.
          var inset = stroked ? Math.min(line, w, h) / 2 : 0;
          shape = set(document.createElementNS(NS, 'rect'), {
            x: x + inset, y: y + inset, width: w - 2 * inset, height: h - 2 * inset});
        } else if (kind === 1) {
          shape = set(document.createElementNS(NS, 'line'), {x1: n(12), y1: n(13), x2: n(14), y2: n(15)});
          stroked = true;
          filled = false;
        } else if (kind === 2) {
          var points = [];
          for (var p = 0; p < Math.min(n(11), 6); ++p) points.push(n(12 + 2 * p) + ',' + n(13 + 2 * p));
          shape = set(document.createElementNS(NS, 'polygon'), {points: points.join(' ')});
        } else if (kind === 3) {
          // Centred from top to bottom as the face's ascent and descent
          // (0.905 and 0.212 of its size) stand around the middle.
          var align = n(10), size = n(9);
          shape = set(document.createElementNS(NS, 'text'), {
            x: x + w * align / 2, y: y + h / 2 + 0.347 * size, 'font-size': size,
            'text-anchor': ['start', 'middle', 'end'][align] || 'start', fill: rgb(n(3))});
          shape.textContent = picture.texts[texts++] || '';
          svg.appendChild(shape);
          continue;
        } else {
          continue;
        }
        set(shape, {fill: filled ? rgb(n(2)) : 'none'});
        if (stroked) set(shape, {stroke: rgb(n(3)), 'stroke-width': line});
        svg.appendChild(shape);
      }
      return svg;
    },
    // "Copy": the control's text on the clipboard, as plain text, and the
    // button saying for a moment whether it went there (a screen reader
    // hears it too).
    copy: function() {
      var tip = quorvelTip, text = tip.owner && tip.owner.quorvelCopy;
      if (!text) return;
      var say = function(label, said) {
        tip.told(label, said);
        // The button's new width may take it to a line of its own.
        if (tip.owner) tip.place(tip.owner);
      };
      var done = function(ok) {
        say(ok ? 'Copied' : 'Copy failed', ok ? 'Copied' : 'Copy failed');
        clearTimeout(tip.telling);
        tip.telling = setTimeout(function() { say('Copy', ''); }, 1500);
      };
      var fallback = function() { done(tip.copyBySelection(text)); };
      if (navigator.clipboard && navigator.clipboard.writeText)
        navigator.clipboard.writeText(text).then(function() { done(true); }, fallback);
      else
        fallback();
    },
    told: function(label, said) {
      quorvelTip.button.textContent = label;
      quorvelTip.said.textContent = said;
    },
    // Where the clipboard's interface is missing or refused: the text
    // selected in a hidden field of its own and copied as a keyboard's copy
    // would, the focus and selection given back after.
    copyBySelection: function(text) {
      var focused = document.activeElement, start = null, end = null;
      try {
        start = focused.selectionStart;
        end = focused.selectionEnd;
      } catch (e) {} // a field that has no selection
      var area = document.createElement('textarea');
      area.value = text;
      area.readOnly = true;
      area.tabIndex = -1;
      area.setAttribute('aria-hidden', 'true');
      area.style.cssText = 'position:fixed;left:0;top:0;width:1px;height:1px;opacity:0';
      document.body.appendChild(area);
      area.select();
      area.setSelectionRange(0, text.length);
      var ok = false;
      try {
        ok = document.execCommand('copy');
      } catch (e) {}
      area.remove();
      if (focused && focused !== document.body && focused.focus) {
        focused.focus();
        if (typeof start === 'number') focused.setSelectionRange(start, end);
      }
      return ok;
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
