// The cross-references of a workspace page, loaded by the pages of a workspace made with
// cross-references. A click on a definition's name (a link that carries the anchor
// "x<line>.<column>") opens a panel with its uses; pointing at a use shows where it leads
// and how often that is used, in a tooltip that stays while the pointer is on it. What
// the panel and the tooltip show comes from the page's uses script (xref/u<n>.js, named
// by this script element's data-uses), loaded with a script element the first time it is
// needed, so the workspace works from disk. Texts are set as text, never as markup. The
// colours follow the page's theme by its custom properties, with light ones by default.
(function () {
  'use strict';
  var me = document.currentScript;
  var usesScript = me && me.getAttribute('data-uses');
  var data = null;
  var waiting = [];
  var loading = false;

  /** Calls `then` with the page's uses data once it is loaded (never when it cannot be). */
  function withData(then) {
    if (data) { then(data); return; }
    waiting.push(then);
    if (loading || !usesScript) return;
    loading = true;
    var script = document.createElement('script');
    script.src = usesScript;
    script.onerror = function () { waiting = []; };
    document.head.appendChild(script);
  }
  window.quillonXref = function (d) {
    if (data || !d || typeof d !== 'object') return;
    data = { words: d.words || [], files: d.files || [], defs: d.defs || {}, targets: d.targets || {} };
    // Definitions used nowhere come by kind, their anchors separated by spaces.
    var unused = Array.isArray(d.unused) ? d.unused : [];
    for (var u = 0; u < unused.length; u++) {
      var anchors = String(unused[u][1]).split(' ');
      for (var k = 0; k < anchors.length; k++)
        if (!Object.prototype.hasOwnProperty.call(data.defs, anchors[k])) data.defs[anchors[k]] = [unused[u][0], 0];
    }
    var calls = waiting;
    waiting = [];
    for (var i = 0; i < calls.length; i++) calls[i](data);
  };

  var style = document.createElement('style');
  style.textContent =
    '.quillon-xref-panel, .quillon-xref-tip { position: fixed; z-index: 1000;' +
    ' font: 12px sans-serif; color: var(--quillon-panel-text, #000000);' +
    ' background: var(--quillon-panel, #ffffe8); border: 1px solid var(--quillon-border, #808080);' +
    ' box-shadow: 2px 2px 6px rgba(0, 0, 0, 0.3); }\n' +
    '.quillon-xref-panel { right: 8px; top: 8px; max-width: 60%; max-height: 80%;' +
    ' overflow: auto; padding: 6px 10px; }\n' +
    '.quillon-xref-tip { max-width: 480px; padding: 4px 8px; }\n' +
    '.quillon-xref-panel a, .quillon-xref-tip a { color: var(--quillon-link, #0000ee); }\n' +
    '.quillon-xref-panel .quillon-xref-file { font-weight: bold; margin-top: 6px; }\n' +
    '.quillon-xref-panel .quillon-xref-role, .quillon-xref-tip .quillon-xref-role' +
    ' { color: var(--quillon-muted, #606060); }\n' +
    '.quillon-xref-panel code, .quillon-xref-tip code { white-space: pre; }\n' +
    '.quillon-xref-close { float: right; cursor: pointer; border: none; background: none;' +
    ' color: inherit; font-size: 14px; }\n' +
    '.quillon-xref-line { background: var(--quillon-mark, #ffff80); }\n';
  document.head.appendChild(style);

  function element(tag, className, text) {
    var e = document.createElement(tag);
    if (className) e.className = className;
    if (text !== undefined) e.textContent = text;
    return e;
  }
  function link(href, text) {
    var a = element('a', '', text);
    a.setAttribute('href', href);
    return a;
  }
  function plural(n, word) { return n + ' ' + word + (n === 1 ? '' : 's'); }

  // The line that a link of the panel leads to ("#L<n>") is marked; a page without the
  // line's anchor has it found by its place.
  var marked = null;
  function showLine() {
    var m = /^#L(\d+)$/.exec(location.hash);
    if (!m || !document.body) return;
    var anchor = document.getElementById('L' + m[1]);
    var line = anchor ? anchor.closest('nobr') : document.body.getElementsByTagName('nobr')[Number(m[1]) - 1];
    if (!line) return;
    if (marked) marked.classList.remove('quillon-xref-line');
    marked = line;
    line.classList.add('quillon-xref-line');
    if (!anchor) line.scrollIntoView({ block: 'center' });
  }
  window.addEventListener('hashchange', showLine);

  // The text of line `n` of this page as a list of uses shows a line (the uses script
  // leaves out the texts of the page's own lines): blanks around it left out, at most 160
  // characters.
  function pageLine(n) {
    var anchor = document.getElementById('L' + n);
    var line = anchor ? anchor.closest('nobr') : document.body.getElementsByTagName('nobr')[n - 1];
    return line ? line.textContent.replace(/\u00a0/g, ' ').trim().slice(0, 160) : '';
  }

  var panel = null;
  function closePanel() {
    if (panel) panel.remove();
    panel = null;
  }
  // The scripts name kinds, roles and files by their place in the lists `words` and
  // `files`; names and what the page shows itself are read from the page.
  function word(d, i) { return typeof d.words[i] === 'string' ? d.words[i] : ''; }
  function fileOf(d, i) { return Array.isArray(d.files[i]) ? d.files[i] : ['', '']; }

  function openPanel(a, anchor, d) {
    var def = d.defs[anchor];
    if (!def) return;
    closePanel();
    panel = element('div', 'quillon-xref-panel');
    var close = element('button', 'quillon-xref-close', '\u00d7');
    close.title = 'Close';
    close.addEventListener('click', closePanel);
    panel.appendChild(close);
    var head = element('div', 'quillon-xref-head');
    head.appendChild(element('b', '', a.textContent));
    head.appendChild(document.createTextNode(' ' + word(d, def[0]) + ': '));
    head.appendChild(element('span', 'quillon-xref-count', plural(def[1], 'use')));
    panel.appendChild(head);
    var listed = 0;
    var groups = def[2] || [];
    for (var g = 0; g < groups.length; g++) {
      var group = groups[g];
      var file = fileOf(d, group[0]);
      panel.appendChild(element('div', 'quillon-xref-file', file[0]));
      var list = element('div', 'quillon-xref-uses');
      for (var u = 0; u < group[1].length; u++) {
        var use = group[1][u];
        if (typeof use === 'number') use = [use];
        var entry = element('div', 'quillon-xref-use');
        entry.appendChild(link(file[1] + '#L' + use[0], String(use[0])));
        entry.appendChild(element('span', 'quillon-xref-role', ' ' + (use.length > 1 ? word(d, use[1]) : 'read') + ' '));
        entry.appendChild(element('code', '', use.length > 2 ? use[2] : pageLine(use[0])));
        list.appendChild(entry);
        listed++;
      }
      panel.appendChild(list);
    }
    if (listed < def[1]) panel.appendChild(element('div', 'quillon-xref-role', 'the first ' + listed + ' shown'));
    document.body.appendChild(panel);
  }

  var tip = null;
  var tipOwner = null;
  var pointed = null;  // the use the pointer is on
  var hideTimer = 0;
  function hideTip() {
    if (tip) tip.remove();
    tip = tipOwner = null;
  }
  function hideSoon() {
    clearTimeout(hideTimer);
    hideTimer = setTimeout(hideTip, 400);
  }
  function showTip(a, d) {
    var href = a.getAttribute('href');
    var target = d.targets[href];
    if (!target || tipOwner === a || pointed !== a) return;
    hideTip();
    tip = element('div', 'quillon-xref-tip');
    var head = element('div');
    head.appendChild(element('b', '', a.textContent));
    head.appendChild(document.createTextNode(' ' + word(d, target[0]) + ', '));
    head.appendChild(element('span', 'quillon-xref-count', plural(target[1], 'use')));
    tip.appendChild(head);
    var line = Number(/#x(\d+)\.\d+$/.exec(href)[1]);
    var onPage = href.charAt(0) === '#';
    var place = element('div');
    place.appendChild(link(href, fileOf(d, onPage ? 0 : target[2])[0] + ' line ' + line));
    place.appendChild(document.createTextNode(' '));
    place.appendChild(element('code', '', onPage ? pageLine(line) : String(target[3])));
    tip.appendChild(place);
    tip.addEventListener('mouseenter', function () { clearTimeout(hideTimer); });
    tip.addEventListener('mouseleave', hideSoon);
    document.body.appendChild(tip);
    tipOwner = a;
    var r = a.getBoundingClientRect();
    var top = r.bottom + 2;
    if (top + tip.offsetHeight > window.innerHeight) top = Math.max(0, r.top - tip.offsetHeight - 2);
    tip.style.top = top + 'px';
    tip.style.left = Math.max(0, Math.min(r.left, window.innerWidth - tip.offsetWidth - 4)) + 'px';
  }

  /** The cross-reference element that `node` is in: a use (a link to a definition's
   * anchor "x<line>.<column>") or a definition's own place (that anchor). */
  function xrefLink(node) {
    while (node && node.nodeType !== 1) node = node.parentNode;
    var a = node && node.closest ? node.closest('a') : null;
    if (!a || (tip && tip.contains(a)) || (panel && panel.contains(a))) return null;
    return isDefinition(a) || /#x\d+\.\d+$/.test(a.getAttribute('href') || '') ? a : null;
  }
  function isDefinition(a) {
    return !a.hasAttribute('href') && /^x\d+\.\d+$/.test(a.getAttribute('name') || '');
  }


  document.addEventListener('click', function (event) {
    var a = xrefLink(event.target);
    if (!a || !isDefinition(a)) return;
    event.preventDefault();
    var anchor = a.getAttribute('name');
    withData(function (d) { openPanel(a, anchor, d); });
  });
  document.addEventListener('mouseover', function (event) {
    var a = xrefLink(event.target);
    if (!a || isDefinition(a)) return;
    clearTimeout(hideTimer);
    pointed = a;
    withData(function (d) { showTip(a, d); });
  });
  document.addEventListener('mouseout', function (event) {
    var a = xrefLink(event.target);
    if (a && a === pointed && !a.contains(event.relatedTarget)) pointed = null;
    if (tipOwner && a === tipOwner) hideSoon();
  });
  document.addEventListener('keydown', function (event) {
    if (event.key === 'Escape') { closePanel(); hideTip(); }
  });
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', showLine);
  else showLine();
}());
