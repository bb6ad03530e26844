// The image's journeys: a control's image drawn as a PNG, put on the
// clipboard, downloaded, and shared.
mergeInto(LibraryManager.library, {
  // The control has an image, which the page asks target for (target null:
  // none any more), and its file's name without the extension; whatever
  // shows its buttons hears of it.
  quorvel_image__deps: ['$Emval'],
  quorvel_image: function(element, target, name) {
    var e = Emval.toValue(element);
    e.quorvelImage = target ? {target: target, name: UTF8ToString(name)} : null;
    if (e.quorvelChanged) e.quorvelChanged(e);
  },

  // Each journey takes the image ({target, name}, as above) and tells done
  // how it went, in a word for the button that started it ("Not saved"), or
  // nothing where that goes without saying.
  $quorvelImage: {
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
    copyPicture: function(image, done) {
      var said = function(ok) { done(ok ? 'Copied' : 'Not copied'); };
      try {
        navigator.clipboard.write([new ClipboardItem({'image/png': quorvelImage.png(image)})])
          .then(function() { said(true); }, function() { said(false); });
      } catch (e) {
        said(false);
      }
    },
    // "Save picture": the image downloaded as a PNG under its name.
    save: function(image, done) {
      quorvelImage.png(image).then(function(png) {
        var link = document.createElement('a');
        link.href = URL.createObjectURL(png);
        link.download = image.name + '.png';
        link.click();
        setTimeout(function() { URL.revokeObjectURL(link.href); }, 60000);
      }, function() { done('Not saved'); });
    },
    // "Share": the image as a PNG file, with text, to the system's share
    // sheet; the text's last line, where it is a link to the page, as the
    // link. At once, in the tap's own turn, where the image is ready, as
    // browsers ask.
    share: function(image, text, done) {
      var lines = (text || '').split('\n'), data = {}, shared;
      if (lines.length > 1 && lines[lines.length - 1].indexOf(location.href.split('#')[0] + '#') === 0)
        data.url = lines.pop();
      data.text = lines.join('\n');
      var send = function(png) {
        data.files = [new File([png], image.name + '.png', {type: 'image/png'})];
        return navigator.share(data);
      };
      try {
        // Made anew where the screen's scale has changed since.
        var png = quorvelImage.png(image);
        shared = image.made ? send(image.made) : png.then(send);
      } catch (e) {
        shared = Promise.reject(e);
      }
      // A player who closes the sheet knows it was not shared.
      shared.catch(function(e) {
        if (!e || e.name !== 'AbortError') done('Not shared');
      });
    },
    // The image as a PNG: a promise of it, made once for each image at each
    // scale of the screen, and made anew where it failed (a phone short of
    // memory). Its SVG document is drawn into a canvas at the program's
    // raster scale for this screen (see platform::rasterScale), with the
    // page's own face inside it.
    png: function(image) {
      var scale = _quorvel_raster_scale(window.devicePixelRatio || 1);
      if (image.png && image.scale === scale) return image.png;
      var svg = UTF8ToString(_quorvel_image_svg(image.target));
      var png = new Promise(function(made, failed) {
        if (!svg) return failed(new Error('no image'));
        var url = URL.createObjectURL(new Blob([quorvelImage.withFace(svg)], {type: 'image/svg+xml'}));
        var drawn = new Image();
        drawn.onload = function() {
          URL.revokeObjectURL(url);
          try {
            var canvas = document.createElement('canvas');
            canvas.width = drawn.naturalWidth * scale;
            canvas.height = drawn.naturalHeight * scale;
            canvas.getContext('2d').drawImage(drawn, 0, 0, canvas.width, canvas.height);
            canvas.toBlob(function(blob) { blob ? made(blob) : failed(new Error('no PNG')); }, 'image/png');
          } catch (e) {
            failed(e); // no canvas of that size
          }
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
      // Kept for "Share", which must have it at once; a failure is not kept.
      png.then(function(blob) { if (image.png === png) image.made = blob; },
               function() { if (image.png === png) image.png = null; });
      return png;
    },
    // An image drawn from an SVG document reaches none of the page's faces:
    // the document carries the page's regular and bold ones, which the page
    // holds as data already, and its texts take them, so that it looks as
    // the window does. They are read from the page's own style alone: a
    // sheet from elsewhere (one an extension adds) may not be read. Where
    // the page has them as files, the document's own list of faces stands.
    withFace: function(svg) {
      if (quorvelImage.faces === undefined) {
        var faces = '', style = document.getElementById('q-style');
        try {
          Array.prototype.forEach.call(style.sheet.cssRules, function(rule) {
            if (rule instanceof CSSFontFaceRule && rule.style.getPropertyValue('font-style') !== 'italic' &&
                rule.style.getPropertyValue('src').indexOf('data:') >= 0)
              faces += rule.cssText + '\n';
          });
        } catch (e) {} // no such style: the document's faces
        quorvelImage.faces = faces ? '<style><![CDATA[\n' + faces +
            'svg { font-family: "Quorvel Dialog", "Liberation Sans", Arial, sans-serif; }\n]]></style>' : '';
      }
      var at = svg.indexOf('>', svg.indexOf('<svg')) + 1;
      return svg.slice(0, at) + quorvelImage.faces + svg.slice(at);
    },
  },
});
