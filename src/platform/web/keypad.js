// The keypad of a touch screen.
mergeInto(LibraryManager.library, {
  // A text field joins the page's keypad (see $quorvelKeypad); Enter from the
  // keypad delivers signal to target.
  quorvel_keypad_join__deps: ['$Emval', '$quorvelKeypad'],
  quorvel_keypad_join: function(field, signal, target) {
    quorvelKeypad.join(Emval.toValue(field), signal, target);
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
