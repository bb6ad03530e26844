// The page's events, delivered to the program's controls one at a time.
mergeInto(LibraryManager.library, {
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
});
