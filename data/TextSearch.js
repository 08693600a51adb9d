// The text mode of a workspace's search box (a workspace made with --text-search): finds
// every line of every page that holds the query, from the index in the folder "text"
// beside the tree pages (see its files' own comments), loaded by script elements as a
// query needs it, so it works from disk without a server. The tree pages load this file
// after Tree.js; every page of the workspace loads it too, to mark the match of the
// result that opened it.
//
// A literal query (three characters or more) reads the blocks of lines that hold all its
// trigrams; a regular expression reads every block. The lines are matched in a worker
// when the browser allows one (Escape then stops even a runaway expression), else in
// slices of a few milliseconds; either way the page stays responsive.

// What a query finds in a line: the [start, end] of each match, or null. Stands on its
// own, as the worker runs a copy of it. Throws when a regular expression is bad.
function quillonTextMatcher(asked) {
	var MAX_MARKS = 200;
	var wordChar;
	try { wordChar = new RegExp("[\\p{L}\\p{N}_]", "u"); } catch (err) { wordChar = /[A-Za-z0-9_\u00C0-\uFFFF]/; }
	function isWord(text, at, before) {
		if (before ? at <= 0 : at >= text.length) return false;
		var code = text.charCodeAt(before ? at - 1 : at), ch = text.charAt(before ? at - 1 : at);
		if (before && code >= 0xDC00 && code <= 0xDFFF && at >= 2) ch = text.substr(at - 2, 2);
		else if (!before && code >= 0xD800 && code <= 0xDBFF) ch = text.substr(at, 2);
		return wordChar.test(ch);
	}
	// The text lower-cased, and where each of its units stands in the text (one character,
	// U+0130, lower-cases to two).
	function lowered(text) {
		var lower = text.toLowerCase();
		if (lower.length === text.length) return { text: lower, at: null };
		var out = "", at = [];
		for (var i = 0; i < text.length; i++) {
			var c = text.charAt(i), code = text.charCodeAt(i);
			if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.length) c = text.substr(i, 2);
			var l = c.toLowerCase();
			for (var k = 0; k < l.length; k++) at.push(i);
			out += l;
			i += c.length - 1;
		}
		at.push(text.length);
		return { text: out, at: at };
	}
	var query = asked.query;
	if (asked.regex) {
		var re, source = query, flags = asked.matchCase ? "g" : "gi";
		try {
			re = new RegExp(asked.wholeWord ? "(?<![\\p{L}\\p{N}_])(?:" + source + ")(?![\\p{L}\\p{N}_])" : source,
				flags + "u");
		} catch (err) {
			// Not valid with the Unicode flag (an identity escape such as "\-"): as written.
			re = new RegExp(asked.wholeWord ? "(?<![A-Za-z0-9_])(?:" + source + ")(?![A-Za-z0-9_])" : source, flags);
		}
		return function (line) {
			re.lastIndex = 0;
			var out = null, m;
			while ((m = re.exec(line))) {
				var end = m.index + m[0].length;
				(out || (out = [])).push([m.index, end]);
				if (out.length >= MAX_MARKS) break;
				if (end === m.index) re.lastIndex = end + 1;
				if (re.lastIndex > line.length) break;
			}
			return out;
		};
	}
	var needle = asked.matchCase ? query : query.toLowerCase();
	if (!needle) return function () { return null; };
	return function (line) {
		var hay = asked.matchCase ? { text: line, at: null } : lowered(line);
		var text = hay.text, out = null;
		for (var from = text.indexOf(needle); from >= 0; from = text.indexOf(needle, from + 1)) {
			var start = hay.at ? hay.at[from] : from, end = hay.at ? hay.at[from + needle.length] : from + needle.length;
			if (asked.wholeWord && (isWord(line, start, true) || isWord(line, end, false))) continue;
			(out || (out = [])).push([start, end]);
			if (out.length >= MAX_MARKS) break;
			if (!asked.wholeWord) from += needle.length - 1;
		}
		return out;
	};
}

// The worker: given a query, then blocks of lines, answers each block with its hits.
function quillonTextWorker() {
	var match = null;
	onmessage = function (e) {
		var d = e.data;
		if (d.asked) {
			try { match = quillonTextMatcher(d.asked); } catch (err) { match = null; }
			return;
		}
		var hits = [];
		if (match) {
			for (var s = 0; s < d.segments.length; s++) {
				var seg = d.segments[s];
				for (var i = 2; i < seg.length; i++) {
					var m = match(seg[i]);
					if (m) hits.push([s, i - 2, m]);
				}
			}
		}
		postMessage({ run: d.run, block: d.block, hits: hits });
	};
}

// Marks the ranges `marks` of the line that `line` (a <nobr> element) shows.
function quillonMarkLine(line, marks, className) {
	var nodes = [], offsets = [], text = "";
	var walker = document.createTreeWalker(line, NodeFilter.SHOW_TEXT);
	for (var n = walker.nextNode(); n; n = walker.nextNode()) {
		nodes.push(n);
		offsets.push(text.length);
		text += n.data;
	}
	for (var r = marks.length - 1; r >= 0; r--) {
		var start = marks[r][0], end = marks[r][1];
		for (var k = nodes.length - 1; k >= 0; k--) {
			var node = nodes[k], from = offsets[k], to = from + node.data.length;
			if (to <= start || from >= end) continue;
			var a = Math.max(start, from) - from, b = Math.min(end, to) - from;
			var middle = node;
			if (b < node.data.length) middle.splitText(b);
			if (a > 0) middle = middle.splitText(a);
			var mark = document.createElement("mark");
			mark.className = className;
			middle.parentNode.insertBefore(mark, middle);
			mark.appendChild(middle);
		}
	}
	return text;
}

if (typeof treeSearch === "undefined") {
	// A page of the workspace: asks the tree frames whether a result of theirs opened it at
	// this line, and marks the match they answer with.
	(function () {
		var style = document.createElement("style");
		style.textContent = "mark.quillon_text_mark{background:#fde68a;color:#111}" +
			"nobr.quillon_text_line{background:rgba(253,230,138,.35)}";
		document.head.appendChild(style);
	})();
	var quillonPage = {
		ask: function () {
			var m = /^#L(\d+)$/.exec(location.hash);
			if (!m) return;
			var message = { type: "quillon-text-page", page: location.pathname, line: Number(m[1]) };
			try {
				var top = window.top;
				for (var i = 0; i < top.frames.length; i++) if (top.frames[i] !== window) top.frames[i].postMessage(message, "*");
			} catch (err) {
				// Opened outside its workspace.
			}
		},
		clear: function () {
			var marks = document.querySelectorAll("mark.quillon_text_mark");
			for (var i = 0; i < marks.length; i++) {
				var mark = marks[i], parent = mark.parentNode;
				while (mark.firstChild) parent.insertBefore(mark.firstChild, mark);
				parent.removeChild(mark);
				parent.normalize();
			}
			var lines = document.querySelectorAll("nobr.quillon_text_line");
			for (var k = 0; k < lines.length; k++) lines[k].classList.remove("quillon_text_line");
		},
		mark: function (d) {
			var anchor = document.getElementById("L" + d.line);
			if (!anchor || !anchor.parentNode) return;
			quillonPage.clear();
			// The anchor is the line itself, or (with line numbers) the line's first element.
			var line = anchor.nodeName === "NOBR" ? anchor : anchor.parentNode;
			var text = line.textContent.replace(/\u00a0/g, " ");
			var marks = [];
			try { marks = quillonTextMatcher(d.asked)(text) || []; } catch (err) { marks = []; }
			quillonMarkLine(line, marks.filter(function (m) { return m[1] > m[0]; }), "quillon_text_mark");
			line.classList.add("quillon_text_line");
			document.documentElement.setAttribute("data-text-mark", d.line + ":" + marks.length);
			if (anchor.scrollIntoView) anchor.scrollIntoView({ block: "center" });
		}
	};
	window.addEventListener("message", function (e) {
		if (e.data && e.data.type === "quillon-text-mark") quillonPage.mark(e.data);
	});
	window.addEventListener("hashchange", quillonPage.ask);
	if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", quillonPage.ask);
	else quillonPage.ask();
} else {
	var TEXT_ROWS = 1000;   // result lines shown at most; the count tells how many matched
	var TEXT_LOADS = 6;     // blocks loading at once
	var TEXT_CACHE = 400;   // blocks kept loaded
	var textSearch = {
		on: false, index: null, indexState: "", grams: {}, gramsLoading: {}, blocks: {}, order: [],
		matchCase: false, wholeWord: false, regex: false,
		run: null, runs: 0, worker: null, noWorker: false, timer: 0, pending: null,
		box: null, bar: null, note: null, results: null, rows: [], active: -1, buttons: {}
	};

	(function () {
		var style = document.createElement("style");
		style.textContent = `
.text_bar { display: flex; gap: 3px; margin-top: 4px; }
.text_bar button {
	background: #fff; border: 1px solid #cbd4e1; border-radius: 4px; color: #475569;
	cursor: pointer; font: 11px/16px Consolas, "Courier New", monospace; padding: 0 6px;
}
.text_bar button[aria-pressed="true"] { background: #d3e1fa; border-color: #5b8def; color: #1e3a8a; }
.text_bar .text_option { display: none; }
.text_mode .text_bar .text_option { display: inline-block; }
.text_mode > .tree_search_note, .text_mode > .tree_results { display: none; }
.text_note { color: #64748b; font-size: 11px; margin-top: 2px; }
.text_results { margin-top: 4px; max-height: 70vh; overflow: auto; }
.text_result {
	border-radius: 3px; color: #1f2937; display: block; line-height: 18px; overflow: hidden;
	padding: 1px 4px; text-decoration: none; text-overflow: ellipsis; white-space: nowrap;
}
.text_result mark { background: #fde68a; color: inherit; }
.text_result:hover, .text_result.text_active { background: #e3ebf8; color: #1d4ed8; }
.text_file { color: #0f172a; font-weight: 600; margin-top: 4px; overflow: hidden; text-overflow: ellipsis; white-space: nowrap; }
.text_result { font-family: Consolas, "Courier New", monospace; font-size: 12px; }
.text_result .text_number { color: #64748b; display: inline-block; margin-right: 6px; min-width: 4ch; text-align: right; }
.text_error { color: #b91c1c; }
.text_result .text_def { border: 1px solid #93b4f0; border-radius: 3px; color: #1d4ed8; font-size: 10px; margin-right: 4px; padding: 0 2px; }
html.quillon-dark .text_result .text_def { border-color: var(--quillon-border); color: var(--quillon-link); }
html.quillon-dark .text_bar button { background: var(--quillon-header); border-color: var(--quillon-border); color: var(--quillon-panel-text); }
html.quillon-dark .text_bar button[aria-pressed="true"] { background: var(--quillon-highlight); color: #ffffff; }
html.quillon-dark .text_file, html.quillon-dark .text_result { color: var(--quillon-panel-text); }
html.quillon-dark .text_note, html.quillon-dark .text_result .text_number { color: var(--quillon-muted); }
html.quillon-dark .text_result:hover, html.quillon-dark .text_result.text_active { background: var(--quillon-header); color: var(--quillon-link); }
html.quillon-dark .text_result mark { background: var(--quillon-mark); }
html.quillon-dark .text_error { color: #ff9b9b; }
`;
		document.head.appendChild(style);
	})();

	// The index's scripts call these.
	var quillonTextIndex = function (index) { textSearch.index = index; };
	// Whether line `number` of file `file` holds a definition (the index's defs, with
	// cross-references: each file's lines as distances from the last, read once).
	var textIsDefinition = function (file, number) {
		var s = textSearch, defs = s.index && s.index.defs;
		if (!defs || !defs[file]) return false;
		if (!s.defLines) s.defLines = {};
		var lines = s.defLines[file];
		if (!lines) {
			lines = s.defLines[file] = {};
			for (var i = 0, at = 0; i < defs[file].length; i++) lines[at += defs[file][i]] = true;
		}
		return lines[number] === true;
	};
	var quillonTextGrams = function (shard, grams) { textSearch.grams[shard] = grams; };
	var quillonTextBlock = function (block, segments) {
		var s = textSearch;
		if (!s.blocks[block]) s.order.push(block);
		s.blocks[block] = segments;
		while (s.order.length > TEXT_CACHE) delete s.blocks[s.order.shift()];
	};

	var textScript = function (src, done) {
		var script = document.createElement("script");
		script.src = src;
		script.onload = script.onerror = function (e) {
			script.parentNode && script.parentNode.removeChild(script);
			done(e.type === "load");
		};
		document.head.appendChild(script);
	};

	// The digits of the block lists (as the index writes them).
	var TEXT_DIGITS = (function () {
		var table = {}, n = 0;
		for (var c = 0x23; c <= 0x7e && n < 88; c++) {
			if (c === 0x5c || c === 0x3c || c === 0x3e || c === 0x26) continue;
			table[String.fromCharCode(c)] = n++;
		}
		return table;
	})();
	var textBlockList = function (digits) {
		var out = [], prev = -1, value = 0, scale = 1;
		for (var i = 0; i < digits.length; i++) {
			var d = TEXT_DIGITS[digits.charAt(i)];
			if (d >= 44) {
				value += (d - 44) * scale;
				scale *= 44;
			} else {
				prev += value + d * scale + 1;
				out.push(prev);
				value = 0;
				scale = 1;
			}
		}
		return out;
	};

	// The trigrams of a query as the index keys them (all of them: a block holds many lines,
	// so it takes them all to leave out the blocks that cannot hold the query).
	var textGrams = function (query) {
		var lower = query.toLowerCase(), units = [], seen = {}, keys = [];
		for (var i = 0; i < lower.length; i++) units.push(Math.min(lower.charCodeAt(i), 0x80));
		for (var k = 0; k + 2 < units.length; k++) {
			var key = String.fromCharCode(units[k], units[k + 1], units[k + 2]);
			if (!seen[key]) keys.push(key);
			seen[key] = true;
		}
		return keys;
	};
	var textShardOf = function (key) {
		return ((key.charCodeAt(0) * 129 + key.charCodeAt(1)) * 129 + key.charCodeAt(2)) % textSearch.index.shards;
	};

	var textNote = function (text, error) {
		textSearch.note.textContent = text;
		textSearch.note.classList.toggle("text_error", !!error);
	};

	var textAsked = function () {
		var s = textSearch;
		return { query: s.input.value, matchCase: s.matchCase, wholeWord: s.wholeWord, regex: s.regex };
	};

	var textClear = function () {
		var s = textSearch;
		s.results.textContent = "";
		s.results.hidden = true;
		s.rows = [];
		s.active = -1;
	};

	// Stops the search in progress: its worker is ended (a runaway expression with it).
	var textStop = function (told) {
		var s = textSearch, run = s.run;
		if (!run || run.done) return;
		run.done = run.stopped = true;
		if (s.worker) {
			s.worker.terminate();
			s.worker = null;
		}
		if (told) textNote("Stopped: " + textCount(run) + " found so far.");
	};

	var textCount = function (run) {
		return (run.found === 1 ? "1 line" : run.found + " lines") + " in " +
			(run.files === 1 ? "1 file" : run.files + " files");
	};

	var textWorker = function () {
		var s = textSearch;
		if (s.worker || s.noWorker) return s.worker;
		try {
			var source = quillonTextMatcher.toString() + "\n(" + quillonTextWorker.toString() + ")();\n";
			var url = URL.createObjectURL(new Blob([source], { type: "text/javascript" }));
			s.worker = new Worker(url);
			s.worker.onmessage = function (e) { textAnswer(e.data); };
			s.worker.onerror = function () {
				// No worker here after all: the lines are matched in slices instead.
				s.noWorker = true;
				s.worker = null;
				if (s.run && !s.run.done) textSearchNow();
			};
		} catch (err) {
			s.noWorker = true;
			s.worker = null;
		}
		return s.worker;
	};

	var textSearchNow = function () {
		var s = textSearch;
		textStop(false);
		textClear();
		var asked = textAsked();
		if (!asked.query) {
			textNote("");
			return;
		}
		if (!s.index) {
			textNote(s.indexState === "missing" ? "This workspace has no text index." : "Loading the text index\u2026");
			return;
		}
		var match;
		try {
			match = quillonTextMatcher(asked);
		} catch (err) {
			textNote("Bad regular expression: " + (err && err.message ? err.message : err), true);
			return;
		}
		var keys = asked.regex ? null : textGrams(asked.query);
		if (keys && !keys.length) {
			var more = 3 - asked.query.length;
			textNote(more === 1 ? "Type one more character." : "Type " + more + " more characters.");
			return;
		}
		var run = s.run = { id: ++s.runs, asked: asked, match: match, found: 0, files: 0, lastFile: -1,
			blocks: null, next: 0, sent: 0, loading: 0, answered: 0, done: false, stopped: false, started: Date.now() };
		textNote("Searching\u2026");
		if (!keys) {
			run.blocks = [];
			for (var b = 0; b < s.index.blocks; b++) run.blocks.push(b);
			textPump(run);
			return;
		}
		var shards = [];
		keys.forEach(function (key) {
			var shard = textShardOf(key);
			if (shards.indexOf(shard) < 0) shards.push(shard);
		});
		var waiting = 0;
		var ready = function () {
			if (run !== s.run || run.done) return;
			var lists = [];
			for (var i = 0; i < keys.length; i++) {
				var grams = s.grams[textShardOf(keys[i])];
				if (!grams) {
					textNote("The text index is incomplete (text/t" + textShardOf(keys[i]) + ".js).", true);
					run.done = true;
					return;
				}
				var digits = Object.prototype.hasOwnProperty.call(grams, keys[i]) ? grams[keys[i]] : "";
				lists.push(digits);
			}
			lists.sort(function (x, y) { return x.length - y.length; });
			var blocks = textBlockList(lists[0]);
			for (var j = 1; j < lists.length && blocks.length; j++) {
				var other = {};
				textBlockList(lists[j]).forEach(function (n) { other[n] = true; });
				blocks = blocks.filter(function (n) { return other[n]; });
			}
			run.blocks = blocks;
			textPump(run);
		};
		shards.forEach(function (shard) {
			if (s.grams[shard]) return;
			waiting++;
			textLoadShard(shard, function () {
				if (--waiting === 0) ready();
			});
		});
		if (!waiting) ready();
	};

	var textLoadShard = function (shard, done) {
		var s = textSearch, queue = s.gramsLoading[shard];
		if (queue) {
			queue.push(done);
			return;
		}
		queue = s.gramsLoading[shard] = [done];
		textScript("text/t" + shard + ".js", function () {
			delete s.gramsLoading[shard];
			queue.forEach(function (f) { f(); });
		});
	};

	// Loads the run's blocks a few at a time and hands them, in order, to the matcher.
	var textPump = function (run) {
		var s = textSearch;
		if (run !== s.run || run.done) return;
		while (run.sent < run.blocks.length && s.blocks[run.blocks[run.sent]] && run.sent - run.answered < TEXT_LOADS * 2) {
			textMatchBlock(run, run.blocks[run.sent]);
			run.sent++;
		}
		while (run.next < run.blocks.length && run.loading < TEXT_LOADS && run.next - run.answered < TEXT_LOADS * 3) {
			var block = run.blocks[run.next++];
			if (s.blocks[block]) continue;
			run.loading++;
			(function (block) {
				textScript("text/l" + block + ".js", function () {
					run.loading--;
					if (!s.blocks[block]) s.blocks[block] = [];  // a block that would not load: no lines
					textPump(run);
				});
			})(block);
		}
		if (run.answered >= run.blocks.length) textDone(run);
	};

	var textMatchBlock = function (run, block) {
		var s = textSearch, segments = s.blocks[block];
		var worker = textWorker();
		if (worker) {
			if (!run.toldWorker) {
				worker.postMessage({ asked: run.asked });
				run.toldWorker = true;
			}
			worker.postMessage({ run: run.id, block: block, segments: segments });
			return;
		}
		// In slices of a few milliseconds, so that the page stays responsive.
		var hits = [], seg = 0, line = 2;
		var slice = function () {
			if (run !== s.run || run.done) return;
			var end = Date.now() + 8;
			for (; seg < segments.length; seg++, line = 2) {
				for (; line < segments[seg].length; line++) {
					var m = run.match(segments[seg][line]);
					if (m) hits.push([seg, line - 2, m]);
					if ((line & 15) === 0 && Date.now() > end) {
						line++;
						setTimeout(slice, 0);
						return;
					}
				}
			}
			textAnswer({ run: run.id, block: block, hits: hits, segments: segments });
		};
		if (!run.queue) run.queue = [];
		run.queue.push(slice);
		if (run.queue.length === 1) slice();
	};

	var textAnswer = function (d) {
		var s = textSearch, run = s.run;
		if (!run || run.id !== d.run || run.done) return;
		var segments = d.segments || s.blocks[d.block] || [];
		textShow(run, segments, d.hits);
		run.answered++;
		if (run.queue) {
			run.queue.shift();
			if (run.queue.length) setTimeout(run.queue[0], 0);
		}
		if (!run.done) {
			textNote("Searching\u2026 " + textCount(run) + " so far (Escape stops).");
			textPump(run);
		}
	};

	var textDone = function (run) {
		if (run.done) return;
		run.done = true;
		var shown = Math.min(run.found, TEXT_ROWS);
		textNote(!run.found ? "No line holds \u201c" + run.asked.query + "\u201d."
			: textCount(run) + (run.found > shown ? "; the first " + shown + " shown." : "."));
		textSearch.results.setAttribute("data-done", String(run.id));
	};

	// Adds the hits of a block to the results, under the name of each file.
	var textShow = function (run, segments, hits) {
		var s = textSearch, files = s.index.files, list = document.createDocumentFragment();
		for (var i = 0; i < hits.length; i++) {
			var seg = segments[hits[i][0]], number = seg[1] + hits[i][1], file = seg[0];
			if (file !== run.lastFile) {
				run.lastFile = file;
				run.files++;
				if (run.found < TEXT_ROWS) {
					var head = document.createElement("div");
					head.className = "text_file";
					head.textContent = files[file][0];
					head.title = files[file][0];
					list.appendChild(head);
				}
			}
			if (run.found++ < TEXT_ROWS) list.appendChild(textRow(run, files[file], number, seg[2 + hits[i][1]], hits[i][2], textIsDefinition(file, number)));
		}
		if (list.firstChild) {
			s.results.appendChild(list);
			s.results.hidden = false;
			if (s.active < 0) textActive(0);
		}
	};

	var textRow = function (run, file, number, text, marks, definition) {
		var s = textSearch, row = document.createElement("a");
		row.className = "text_result";
		row.id = "text_result_" + s.rows.length;
		row.setAttribute("role", "option");
		row.setAttribute("href", file[1] + "#L" + number);
		row.setAttribute("target", "source_frame");
		row.setAttribute("data-line", String(number));
		row.title = file[0] + ":" + number;
		var digits = document.createElement("span");
		digits.className = "text_number";
		digits.textContent = String(number);
		row.appendChild(digits);
		if (definition) {
			var def = document.createElement("span");
			def.className = "text_def";
			def.textContent = "def";
			row.appendChild(def);
			row.title += " (a definition)";
		}
		// A long line is shown from a little before its first match.
		var from = marks.length && marks[0][0] > 60 ? marks[0][0] - 40 : 0, to = Math.min(text.length, from + 300);
		var at = from;
		if (from > 0) row.appendChild(document.createTextNode("\u2026"));
		for (var i = 0; i < marks.length && marks[i][0] < to; i++) {
			if (marks[i][1] <= marks[i][0] || marks[i][0] < at) continue;
			row.appendChild(document.createTextNode(text.slice(at, marks[i][0])));
			var mark = document.createElement("mark");
			mark.textContent = text.slice(marks[i][0], Math.min(marks[i][1], to));
			row.appendChild(mark);
			at = Math.min(marks[i][1], to);
		}
		row.appendChild(document.createTextNode(text.slice(at, to) + (to < text.length ? "\u2026" : "")));
		var asked = run.asked, index = s.rows.length;
		row.addEventListener("click", function () {
			markCurrentItem(row);
			postTabText(file[2]);
			// The address as the page will see its own (both percent-escaped alike).
			var page = "";
			try { page = new URL(row.href).pathname; } catch (err) { page = ""; }
			s.pending = { page: page, line: number, asked: asked };
		});
		row.addEventListener("mousemove", function () { textActive(index); });
		s.rows.push(row);
		return row;
	};

	var textActive = function (number) {
		var s = textSearch;
		if (s.active >= 0 && s.rows[s.active]) s.rows[s.active].classList.remove("text_active");
		s.active = number;
		var row = s.rows[number];
		if (!row) return;
		row.classList.add("text_active");
		s.input.setAttribute("aria-activedescendant", row.id);
	};

	// A page that a result opened asks for its mark.
	window.addEventListener("message", function (e) {
		var s = textSearch, d = e.data, p = s.pending;
		if (!d || d.type !== "quillon-text-page" || !p || d.page !== p.page || d.line !== p.line) return;
		s.pending = null;
		e.source.postMessage({ type: "quillon-text-mark", line: p.line, asked: p.asked }, "*");
	});

	var textMode = function (on) {
		var s = textSearch;
		s.on = on;
		s.box.classList.toggle("text_mode", on);
		s.buttons.text.setAttribute("aria-pressed", String(on));
		s.input.placeholder = on ? "Search the text of every file" : "Search files, classes, members";
		if (on && !s.index && !s.indexState) {
			s.indexState = "loading";
			textScript("text/index.js", function () {
				s.indexState = s.index ? "loaded" : "missing";
				if (s.on) textSearchNow();
			});
		}
		if (on) {
			textSearchNow();
		} else {
			textStop(false);
			textClear();
			textNote("");
			updateSearch();
		}
		s.input.focus();
	};

	var textButton = function (key, label, title, option) {
		var s = textSearch, button = document.createElement("button");
		button.type = "button";
		button.textContent = label;
		button.title = title;
		button.className = option ? "text_option" : "text_toggle";
		button.id = "text_" + key;
		button.setAttribute("aria-pressed", "false");
		button.addEventListener("click", function () {
			if (!option) {
				textMode(!s.on);
				return;
			}
			s[key] = !s[key];
			button.setAttribute("aria-pressed", String(s[key]));
			textSearchNow();
			s.input.focus();
		});
		s.buttons[key] = button;
		s.bar.appendChild(button);
	};

	// In text mode the box's typing and keys are this file's, not the name search's.
	document.addEventListener("input", function (e) {
		var s = textSearch;
		if (!s.on || e.target !== s.input) return;
		e.stopPropagation();
		clearTimeout(s.timer);
		s.timer = setTimeout(textSearchNow, 10);
	}, true);
	document.addEventListener("keydown", function (e) {
		var s = textSearch;
		if (!s.on || e.target !== s.input) return;
		e.stopPropagation();
		if (e.key === "Escape") {
			e.preventDefault();
			if (s.run && !s.run.done) textStop(true);
			else if (s.input.value) {
				s.input.value = "";
				textSearchNow();
			}
		} else if (e.key === "ArrowDown" || e.key === "ArrowUp") {
			if (!s.rows.length) return;
			e.preventDefault();
			textActive(Math.max(0, Math.min(s.rows.length - 1, s.active + (e.key === "ArrowDown" ? 1 : -1))));
			if (s.rows[s.active].scrollIntoView) s.rows[s.active].scrollIntoView({ block: "nearest" });
		} else if (e.key === "Enter") {
			e.preventDefault();
			if (s.rows.length) s.rows[Math.max(0, s.active)].click();
		}
	}, true);

	document.addEventListener("DOMContentLoaded", function () {
		var s = textSearch, names = treeSearch;
		if (!names.box) return;
		s.box = names.box;
		s.input = names.input;
		s.bar = document.createElement("div");
		s.bar.className = "text_bar";
		textButton("text", "Text", "Search the text of the files (on) or the names (off)", false);
		textButton("matchCase", "Aa", "Match case", true);
		textButton("wholeWord", "W", "Whole words", true);
		textButton("regex", ".*", "Regular expression (JavaScript's)", true);
		s.note = document.createElement("div");
		s.note.className = "text_note";
		s.note.setAttribute("role", "status");
		s.results = document.createElement("div");
		s.results.className = "text_results";
		s.results.id = "text_results";
		s.results.setAttribute("role", "listbox");
		s.results.hidden = true;
		s.box.insertBefore(s.bar, names.input.nextSibling);
		s.box.appendChild(s.note);
		s.box.appendChild(s.results);
	});
}
