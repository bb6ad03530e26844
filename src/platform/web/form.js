// The form's side of the page: what the program asks of the page most often,
// in one step each, and the page's events, delivered to the program's
// controls one at a time. The verdict's box is in tip.js, the buttons it
// shares with the table's dialog in actions.js, the copying of text in
// copy.js, the image's journeys in image.js, the keypad in keypad.js and
// the table in table.js.
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
    delete keeper.quorvelLevels;
    if (quorvelTip.owner === keeper) quorvelTip.close();
  },
  // A link to the page with another fragment, followed while the page is
  // open, does not open it anew: the program hears of it.
  quorvel_on_fragment: function() {
    window.addEventListener('hashchange', function() { _quorvel_fragment(); });
  },
});
