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
  quorvel_forget__deps: ['$Emval'],
  quorvel_forget: function(owner) {
    var keeper = Emval.toValue(owner);
    (keeper.quorvelListeners || []).forEach(function(l) {
      l[0].removeEventListener(l[1], l[2]);
    });
    delete keeper.quorvelListeners;
  },

  // A text field joins the page's keypad (see $quorvelKeypad); Enter from the
  // keypad delivers signal to target.
  quorvel_keypad_join__deps: ['$Emval', '$quorvelKeypad'],
  quorvel_keypad_join: function(field, signal, target) {
    quorvelKeypad.join(Emval.toValue(field), signal, target);
  },

  // A control's tooltip: the browser's own where a pointer hovers (the
  // element's title), and on a touch screen, where nothing hovers, a box of
  // the same lines that a tap on the control opens (see $quorvelTip).
  quorvel_tip__deps: ['$Emval', '$quorvelTip'],
  quorvel_tip: function(element, text) {
    var e = Emval.toValue(element);
    var t = UTF8ToString(text);
    if (t) e.setAttribute('title', t);
    else e.removeAttribute('title');
    quorvelTip.start();
    if (quorvelTip.owner === e) {
      if (t) quorvelTip.open(e);
      else quorvelTip.close();
    }
  },
  // The box opens just above the control that was tapped, inside its window,
  // so that it covers neither the control nor the keypad, in the window's
  // face at the window's scale. The next tap anywhere closes it; a tap on the
  // same control again only closes it.
  $quorvelTip: {
    box: null,
    owner: null,
    start: function() {
      var tip = quorvelTip;
      if (tip.box) return;
      tip.box = document.createElement('div');
      tip.box.className = 'q-tip';
      // A screen reader has the same lines as the control's description.
      tip.box.setAttribute('aria-hidden', 'true');
      tip.box.hidden = true;
      document.body.appendChild(tip.box);
      var touch = false, closing = false;
      document.addEventListener('pointerdown', function(e) {
        touch = e.pointerType !== 'mouse';
        closing = tip.owner !== null;
        tip.close();
      }, true);
      document.addEventListener('click', function(e) {
        var target = e.target instanceof Element ? e.target.closest('.q-frame [title]') : null;
        if (touch && !closing && target) tip.open(target);
        closing = false;
      });
    },
    open: function(control) {
      var tip = quorvelTip, box = tip.box;
      var frame = control.closest('.q-frame');
      if (!frame) return;
      var outer = frame.getBoundingClientRect(), r = control.getBoundingClientRect();
      var u = outer.width / (parseFloat(frame.style.getPropertyValue('--w')) || outer.width);
      var content = frame.querySelector('.q-client') || frame;
      var inner = content.getBoundingClientRect();
      tip.owner = control;
      box.textContent = control.getAttribute('title');
      box.style.fontSize = 10 * u + 'px';
      box.style.left = inner.left + 3 * u + window.scrollX + 'px';
      box.style.width = inner.width - 6 * u + 'px';
      box.style.maxHeight = Math.max(r.top - inner.top - 6 * u, 0) + 'px';
      box.hidden = false;
      box.style.top = r.top - 3 * u - box.offsetHeight + window.scrollY + 'px';
    },
    close: function() {
      var tip = quorvelTip;
      if (!tip.box) return;
      tip.box.hidden = true;
      tip.owner = null;
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
