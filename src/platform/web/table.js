// The window of a table (see table_window.cpp): a dialog of the browser's
// own, titled by a heading of its own, holding a line on what the table is
// of, an HTML table with a header for each column and each row, the lines
// under it, and the buttons that hand out its text and image (actions.js)
// with "Close".
mergeInto(LibraryManager.library, {
  quorvel_table_make__deps: ['$Emval', '$quorvelTable'],
  quorvel_table_make: function(dialog, owner) {
    quorvelTable.make(Emval.toValue(dialog), Emval.toValue(owner));
  },
  quorvel_table_title__deps: ['$Emval'],
  quorvel_table_title: function(dialog, title) {
    Emval.toValue(dialog).quorvelParts.title.textContent = UTF8ToString(title);
  },
  quorvel_table_content__deps: ['$Emval', '$quorvelTable'],
  quorvel_table_content: function(dialog, content) {
    quorvelTable.fill(Emval.toValue(dialog), Emval.toValue(content));
  },
  quorvel_table_show__deps: ['$Emval', '$quorvelTable'],
  quorvel_table_show: function(dialog) {
    quorvelTable.show(Emval.toValue(dialog));
  },
  quorvel_table_hide__deps: ['$Emval', '$quorvelTable'],
  quorvel_table_hide: function(dialog) {
    quorvelTable.hide(Emval.toValue(dialog));
  },

  // Beside its window where the screen has room, and not modal, so that
  // both are read and worked at once: to the right of the window, or below
  // it where the view is too narrow for that. Where the window fills the
  // screen (a phone, or any narrow or touch view; see the stylesheet),
  // nothing fits beside it, and the dialog is modal, over it. The cells show
  // their words, or where the words do not fit the view's width, their
  // brief forms (a mark and a number), smaller still where even those do
  // not; a screen reader reads the words either way. The Copy key anywhere
  // in the dialog copies its text; Escape closes it, and the focus goes back
  // where it was before it opened.
  $quorvelTable__deps: ['$quorvelActions', '$quorvelCopy'],
  $quorvelTable: {
    made: 0,
    GAP: 16, // between the window and the dialog, and the dialog and the view's edge
    // Whether the window fills the screen.
    filled: function() {
      return matchMedia('(max-width: 479px), (pointer: coarse)').matches;
    },
    make: function(dialog, owner) {
      var t = quorvelTable, id = 'q-table-' + ++t.made, parts = dialog.quorvelParts = {};
      dialog.quorvelOwner = owner;
      // The Copy key copies the dialog's own text (see $quorvelCopy), and a
      // press anywhere in it gives it the focus.
      dialog.quorvelDefaultCopy = dialog;
      dialog.tabIndex = -1;
      dialog.setAttribute('aria-labelledby', id);
      parts.title = document.createElement('h2');
      parts.title.id = id;
      parts.heading = document.createElement('p');
      parts.heading.id = id + '-of';
      parts.heading.className = 'q-of';
      parts.body = document.createElement('div');
      parts.body.className = 'q-body';
      parts.table = document.createElement('table');
      parts.table.tabIndex = 0;
      parts.table.setAttribute('aria-labelledby', id + ' ' + id + '-of');
      parts.body.appendChild(parts.table);
      parts.lines = document.createElement('p');
      parts.lines.className = 'q-lines';
      parts.actions = quorvelActions.build([['close', 'Close', function() { t.hide(dialog); }]],
                                           function() { return dialog; });
      dialog.append(parts.title, parts.heading, parts.body, parts.lines, parts.actions);
      dialog.quorvelChanged = function() { t.refresh(dialog); };
      t.refresh(dialog);
      dialog.addEventListener('keydown', function(e) {
        if (e.key !== 'Escape' || e.defaultPrevented) return;
        e.preventDefault();
        t.hide(dialog);
      });
      // Escape in a modal one.
      dialog.addEventListener('cancel', function(e) {
        e.preventDefault();
        t.hide(dialog);
      });
      window.addEventListener('resize', function() {
        if (!dialog.open) return;
        // Across the edge between a window beside and one that fills the
        // screen, it opens again the other way, the focus kept.
        if (dialog.quorvelModal !== t.filled()) {
          var back = dialog.quorvelBack, focused = document.activeElement;
          dialog.close();
          t.show(dialog);
          dialog.quorvelBack = back;
          if (dialog.contains(focused)) focused.focus();
        } else {
          t.place(dialog);
        }
      });
    },
    // content: the heading, the table ({rowsName, columnsName, rows,
    // columns, cells: [[text, brief, spoken, colour, marked]], row by row})
    // and the lines under it.
    fill: function(dialog, content) {
      var parts = dialog.quorvelParts, table = parts.table, rows = content.rows, columns = content.columns;
      parts.heading.textContent = content.heading;
      parts.heading.hidden = !content.heading;
      parts.lines.textContent = content.lines;
      table.textContent = '';
      table.hidden = !rows.length;
      if (rows.length) {
        var add = function(parent, tag, text, scope) {
          var cell = parent.appendChild(document.createElement(tag));
          if (text) cell.textContent = text;
          if (scope) cell.scope = scope;
          return cell;
        };
        var head = table.createTHead(), over = head.insertRow(), top = head.insertRow();
        add(over, 'td');
        add(over, 'th', content.columnsName, 'col').colSpan = columns.length;
        add(top, 'th', content.rowsName, 'col');
        columns.forEach(function(level) { add(top, 'th', level, 'col'); });
        var body = table.createTBody();
        rows.forEach(function(level, r) {
          var row = body.insertRow();
          // Read as "Firer 2" where the eye reads "2" under "Firer".
          var header = add(row, 'th', '', 'row');
          add(header, 'span', content.rowsName + ' ').className = 'q-sr';
          header.append(level);
          columns.forEach(function(_, c) {
            var given = content.cells[r * columns.length + c] || ['', '', '', '', false];
            var cell = add(row, 'td');
            cell.style.backgroundColor = given[3];
            if (given[4]) cell.className = 'q-marked';
            var words = add(cell, 'span', given[0]);
            words.className = 'q-words';
            add(cell, 'span', given[1]).className = 'q-brief';
            if (given[2] !== given[0]) {
              words.setAttribute('aria-hidden', 'true');
              add(cell, 'span', given[2]).className = 'q-sr';
            }
          });
        });
      }
      if (dialog.open) quorvelTable.place(dialog);
    },
    // The buttons as the dialog's text and image have them; one that goes
    // disabled hands the focus to "Close".
    refresh: function(dialog) {
      var row = dialog.quorvelParts.actions, focused = document.activeElement;
      quorvelActions.refresh(row, dialog, true);
      if (focused && focused.disabled && row.contains(focused)) row.buttons.close.focus();
    },
    // Opens the dialog, or brings it to the front, with the focus in its
    // table (in the dialog where it has none).
    show: function(dialog) {
      var t = quorvelTable, parts = dialog.quorvelParts;
      if (!dialog.isConnected) (document.querySelector('main') || document.body).appendChild(dialog);
      if (!dialog.open) {
        var focused = document.activeElement;
        dialog.quorvelBack = focused && !dialog.contains(focused) ? focused : null;
        dialog.quorvelModal = t.filled();
        dialog.classList.toggle('q-beside', !dialog.quorvelModal);
        if (dialog.quorvelModal) dialog.showModal();
        else dialog.show();
      }
      t.place(dialog);
      (parts.table.hidden ? dialog : parts.table).focus();
    },
    // Closes it, the focus back where it was where the dialog had it.
    hide: function(dialog) {
      if (!dialog.open) return;
      var back = dialog.quorvelBack, focused = document.activeElement;
      var inside = !focused || focused === document.body || dialog.contains(focused);
      dialog.close();
      dialog.quorvelBack = null;
      if (inside && back && back.isConnected) back.focus();
    },
    place: function(dialog) {
      var t = quorvelTable, style = dialog.style, body = dialog.quorvelParts.body;
      var beside = !dialog.quorvelModal, view = document.documentElement.clientWidth;
      // Measured where it has the whole view's width; over the window, the
      // stylesheet's place.
      style.left = style.top = beside ? '0px' : '';
      style.maxWidth = beside ? view - 2 * t.GAP + 'px' : '';
      // The words where they fit, else the brief forms, smaller and smaller.
      dialog.classList.remove('q-narrow');
      style.removeProperty('--cell');
      // Within a pixel: the two are rounded each its own way.
      var fits = function() { return body.scrollWidth <= body.clientWidth + 1; };
      if (!fits()) {
        dialog.classList.add('q-narrow');
        var size = parseFloat(getComputedStyle(dialog.quorvelParts.table).fontSize);
        while (!fits() && --size >= 8) style.setProperty('--cell', size + 'px');
      }
      if (!beside) return;
      var frame = dialog.quorvelOwner.getBoundingClientRect(), width = dialog.offsetWidth;
      var left = frame.right + t.GAP, top = frame.top;
      if (left + width + t.GAP > view) {
        left = Math.max(Math.min(frame.left, view - width - t.GAP), t.GAP);
        top = frame.bottom + t.GAP;
      }
      style.left = left + scrollX + 'px';
      style.top = top + scrollY + 'px';
    },
  },
});
