// The row of buttons that hand out what an element holds, its copy text and
// its image: "Copy", "Copy picture", "Save picture" and "Share", then any of
// the row's own. The verdict's box (tip.js) and the table's dialog
// (table.js) each have one.
mergeInto(LibraryManager.library, {
  $quorvelActions__deps: ['$quorvelCopy', '$quorvelImage'],
  $quorvelActions: {
    // Each button's name and label, and what it does with the holder.
    HAND: [
      ['copy', 'Copy', function(e, done) { quorvelCopy.put(e.quorvelCopy, done); }],
      ['copyPicture', 'Copy picture', function(e, done) { quorvelImage.copyPicture(e.quorvelImage, done); }],
      ['save', 'Save picture', function(e, done) { quorvelImage.save(e.quorvelImage, done); }],
      ['share', 'Share', function(e, done) { quorvelImage.share(e.quorvelImage, e.quorvelCopy, done); }],
    ],
    // The row: those four, then more ([name, label, action(holder)]), each
    // pressed for holder(), the element whose texts and image they hand out,
    // while there is one; told() after a button's label changed.
    build: function(more, holder, told) {
      var row = document.createElement('div');
      row.className = 'q-actions';
      row.buttons = {};
      quorvelActions.HAND.concat(more).forEach(function(b) {
        var button = row.buttons[b[0]] = document.createElement('button');
        button.type = 'button';
        button.textContent = button.label = b[1];
        button.addEventListener('click', function() {
          var e = holder();
          if (!e) return;
          if (more.indexOf(b) >= 0) return b[2](e);
          b[2](e, function(said) { quorvelActions.say(row, button, said, told); });
        });
        row.appendChild(button);
      });
      // What a button said, for a screen reader.
      row.said = document.createElement('span');
      row.said.className = 'q-said';
      row.said.setAttribute('aria-live', 'polite');
      row.appendChild(row.said);
      return row;
    },
    // The four as e's texts and image have them: those with nothing to hand
    // out hidden, or disabled where disable is set; "Copy picture" and
    // "Share" only where the browser can. Each reads as before. The image is
    // made now, so that a button that must hand it over at once has it.
    refresh: function(row, e, disable) {
      var b = row.buttons, image = e && e.quorvelImage;
      var has = {copy: !!(e && e.quorvelCopy), copyPicture: !!image, save: !!image, share: !!image};
      var can = {copyPicture: quorvelImage.canCopyPicture(), share: quorvelImage.canShare()};
      for (var name in has) {
        b[name].hidden = can[name] === false || (!disable && !has[name]);
        b[name].disabled = !has[name];
        clearTimeout(b[name].telling);
        b[name].textContent = b[name].label;
      }
      row.said.textContent = '';
      if (image) quorvelImage.png(image);
    },
    // A button says for a moment how what it did went (a screen reader
    // hears it too), then reads as before.
    say: function(row, button, said, told) {
      if (!said) return;
      var tell = function(label, said) {
        button.textContent = label;
        row.said.textContent = said;
        if (told) told();
      };
      tell(said, said);
      clearTimeout(button.telling);
      button.telling = setTimeout(function() { tell(button.label, ''); }, 1500);
    },
  },
});
