// Copying text: what a control's "Copy" copies, the browser's own copy (the
// Copy key) in a window, and the "Copy" buttons.
mergeInto(LibraryManager.library, {
  // What the control's "Copy" copies; whatever shows its buttons hears of it.
  quorvel_copy_text__deps: ['$Emval'],
  quorvel_copy_text: function(element, text) {
    var e = Emval.toValue(element);
    e.quorvelCopy = UTF8ToString(text);
    if (e.quorvelChanged) e.quorvelChanged(e);
  },
  // The browser's copy, with nothing selected in the window, copies what
  // the component's "Copy" copies (see $quorvelCopy).
  quorvel_default_copy__deps: ['$Emval', '$quorvelCopy'],
  quorvel_default_copy: function(frame, component) {
    Emval.toValue(frame).quorvelDefaultCopy = Emval.toValue(component);
    quorvelCopy.start();
  },

  // The browser's own copy (Ctrl+C, Command-C on a Mac, the menu's "Copy")
  // copies what is selected, as always; with nothing selected, in a field or
  // in the page, it copies a window's own text (that of the component given
  // by quorvel_default_copy, or a table's dialog's), where there is one, and
  // else nothing, the clipboard left as it was. With the focus on the page
  // itself, the form's window is the one. And a text copied as that copy
  // copies, for "Copy" where the clipboard's interface is missing or
  // refuses.
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
      var windows = document.querySelectorAll('.q-frame:not([hidden]), dialog[open]');
      for (var i = 0; i < windows.length; ++i) {
        var w = windows[i];
        if (w.quorvelDefaultCopy && (anywhere || w.contains(focused)))
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
    // "Copy": text on the clipboard, as plain text, through the clipboard's
    // interface, or where that is missing or refuses, as the keyboard's copy
    // would put it there; then done says how it went.
    put: function(text, done) {
      var said = function(ok) { done(ok ? 'Copied' : 'Not copied'); };
      var fallback = function() { said(quorvelCopy.command(text)); };
      if (navigator.clipboard && navigator.clipboard.writeText)
        navigator.clipboard.writeText(text).then(function() { said(true); }, fallback);
      else
        fallback();
    },
  },
});
