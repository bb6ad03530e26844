// A control's tooltip: the lines of its text, a picture above them where one
// is given, and the buttons that hand out what the control holds (see
// actions.js) with "Which levels see" where it has that, in a box of the
// page's own: the browser's tooltip (an element's title) shows neither a
// picture nor a button.
mergeInto(LibraryManager.library, {
  // The picture comes as an SVG document (see component.cpp), made into the
  // page's own drawing the first time the box shows it.
  quorvel_tip__deps: ['$Emval', '$quorvelTip'],
  quorvel_tip: function(element, text, svg) {
    var e = Emval.toValue(element);
    var t = UTF8ToString(text), s = UTF8ToString(svg);
    e.quorvelTip = t ? {text: t, svg: s} : null;
    e.quorvelChanged = quorvelTip.changed;
    quorvelTip.changed(e);
  },
  // What the control's "Which levels see" opens, in the program: target
  // (null: no such button).
  quorvel_levels__deps: ['$Emval'],
  quorvel_levels: function(element, target) {
    var e = Emval.toValue(element);
    e.quorvelLevels = target;
    if (e.quorvelChanged) e.quorvelChanged(e);
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
  // window's face at the window's scale, and takes no focus.
  //
  // From the keyboard, Shift+F10 or the context-menu key, with the focus
  // anywhere in a window or on the page itself, opens the box of the
  // window's verdict (the component its Copy key copies) below it, as a
  // desktop opens a context menu, with the focus on its first button; the
  // arrow keys, Home, End, Tab and Shift+Tab move among its buttons, Enter
  // and space press one, and Escape closes the box with the focus back
  // where it was. The window's Tab order is untouched: the buttons are in
  // no Tab order of their own.
  //
  // Nothing of it is made before a control is given a tooltip, nor the box
  // before it opens.
  $quorvelTip__deps: ['$quorvelActions'],
  $quorvelTip: {
    DELAY: 500,
    started: false,
    box: null,
    owner: null, // the control whose tooltip shows
    mode: null, // how it opened: 'hover', 'tap' or 'keys'
    back: null, // where the focus goes back to, for 'keys'
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
      var keyed = -Infinity; // when the keyboard last opened the box
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
          if (tip.mode === 'hover') hide();
          else if (!tip.mode) clearTimeout(resting);
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
        if (tip.mode === 'hover') hide();
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
        if (e.key === 'Escape') {
          pressed = under;
          return hide();
        }
        if (!(e.key === 'ContextMenu' || (e.key === 'F10' && e.shiftKey)) || e.ctrlKey || e.altKey ||
            e.metaKey)
          return;
        var focused = document.activeElement, frame = focused && focused.closest && focused.closest('.q-frame');
        if (!focused || focused === document.body || focused === document.documentElement)
          frame = document.querySelector('.q-frame:not([hidden])');
        var control = frame && frame.quorvelDefaultCopy;
        if (!control || !control.quorvelTip) return;
        e.preventDefault();
        hide();
        keyed = e.timeStamp; // the browser's own menu stays shut
        var r = control.getBoundingClientRect();
        tip.x = r.left;
        tip.y = r.bottom - 20;
        tip.show(control, 'keys');
        tip.back = focused;
        var first = tip.buttons()[0];
        if (first) first.focus();
      });
      document.addEventListener('contextmenu', function(e) {
        if (e.timeStamp - keyed < 1000) e.preventDefault();
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
        if (e.newState !== 'closed') return;
        tip.restore();
        tip.owner = tip.mode = null;
      });
      tip.lines = document.createElement('div');
      tip.lines.className = 'q-lines';
      // A screen reader has the lines as the control's description.
      tip.lines.setAttribute('aria-hidden', 'true');
      tip.actions = quorvelActions.build([['levels', 'Which levels see', function(control) {
        var target = control.quorvelLevels;
        tip.close();
        if (target) _quorvel_levels_open(target);
      }]], function() { return tip.owner; }, function() {
        // The button's new width may take it to a line of its own.
        if (tip.owner) tip.place(tip.owner);
      });
      // Out of the Tab order, and pressed without taking the focus.
      tip.buttons().forEach(function(button) {
        button.tabIndex = -1;
        button.addEventListener('mousedown', function(e) { e.preventDefault(); });
      });
      box.addEventListener('keydown', function(e) {
        var buttons = tip.buttons(), at = buttons.indexOf(document.activeElement), n = buttons.length;
        var step = {ArrowRight: 1, ArrowDown: 1, ArrowLeft: -1, ArrowUp: -1, Tab: e.shiftKey ? -1 : 1}[e.key];
        var to = e.key === 'Home' ? 0 : e.key === 'End' ? n - 1 : step ? (at + step + n) % n : -1;
        if (at < 0 || to < 0 || e.ctrlKey || e.altKey || e.metaKey) return;
        e.preventDefault();
        buttons[to].focus();
      });
      box.append(tip.lines, tip.actions);
      document.body.appendChild(box);
    },
    // The box's buttons that show, in order.
    buttons: function() {
      var row = quorvelTip.actions;
      return row ? Array.prototype.filter.call(row.querySelectorAll('button'), function(b) {
        return !b.hidden && !b.disabled;
      }) : [];
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
      tip.back = null;
      tip.fill(control);
      if (moving) tip.place(control);
    },
    fill: function(control) {
      var tip = quorvelTip, data = control.quorvelTip, box = tip.box, actions = tip.actions;
      if (box.firstChild !== tip.lines) box.removeChild(box.firstChild);
      if (data.svg) {
        data.picture = data.picture || tip.draw(data.svg);
        box.insertBefore(data.picture, tip.lines);
      }
      tip.lines.textContent = data.text;
      quorvelActions.refresh(actions, control, false);
      actions.buttons.levels.hidden = !control.quorvelLevels;
      actions.hidden = !tip.buttons().length;
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
        return tip.scrolling();
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
      tip.scrolling();
    },
    // A box whose lines scroll under its buttons takes the focus, so that
    // the keyboard can scroll it too.
    scrolling: function() {
      var box = quorvelTip.box;
      if (box.scrollHeight > box.clientHeight) box.tabIndex = 0;
      else box.removeAttribute('tabindex');
    },
    close: function() {
      var tip = quorvelTip;
      tip.restore();
      tip.owner = tip.mode = null;
      if (tip.box) tip.open(false);
    },
    // The focus back where it was before the keyboard opened the box, where
    // the box still has it; before the box hides, which would take it away.
    restore: function() {
      var tip = quorvelTip, back = tip.back;
      tip.back = null;
      if (back && tip.box.contains(document.activeElement)) {
        if (back.isConnected && back.focus) back.focus();
        else document.activeElement.blur();
      }
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
  },
});
