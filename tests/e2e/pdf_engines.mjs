// Reads a PDF with the engines of the web browsers, pdf.js (Firefox) and PDFium (Chrome, Edge),
// and prints as JSON what each gives of every page: its size in points, its text units with
// their boxes (points, y growing downward from the page's top), its plain text, and what its
// search finds of the words asked for, with the boxes of the hits where the engine has them.
//
//   node pdf_engines.mjs <modules folder> <document.pdf> <queries.json>
//
// queries.json maps page numbers to the words to look for on that page. pdf.js's units are its
// text items (getTextContent) and its search is the viewer's find controller, which matches
// over the items' text joined as the find bar does; PDFium's units are the words its text page
// gives (split at blanks and line ends) and its search is FPDFText_FindStart. Every warning
// an engine prints about the document is listed under "warnings".
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

const [modules, pdfPath, queriesPath] = process.argv.slice(2);
const bytes = new Uint8Array(readFileSync(pdfPath));
const queries = JSON.parse(readFileSync(queriesPath, 'utf8'));
const require = createRequire(modules + '/');
const load = (name) => import(pathToFileURL(require.resolve(name)).href);

// pdf.js reports through console.log ("Warning: ..."); PDFium's wrapper through console.warn.
const warnings = [];
const log = console.log;
for (const channel of ['log', 'warn', 'error', 'info'])
  console[channel] = (...args) => warnings.push(args.map(String).join(' '));

async function readWithPdfjs() {
  const pdfjs = await load('pdfjs-dist/legacy/build/pdf.mjs');
  globalThis.pdfjsLib = pdfjs;
  // The viewer's module waits for a frame and reads the root's style once on loading; the find
  // controller itself needs no DOM.
  globalThis.window ??= globalThis;
  globalThis.requestAnimationFrame ??= (callback) => setTimeout(callback, 0);
  const inert = new Proxy(function () {}, {
    get: (target, key) => (key === Symbol.toPrimitive ? () => '' : key === 'then' ? undefined : inert),
    set: () => true,
    apply: () => inert,
    construct: () => inert,
  });
  globalThis.document ??= inert;
  const viewer = await load('pdfjs-dist/legacy/web/pdf_viewer.mjs');
  const document = await pdfjs.getDocument({
    data: bytes.slice(),
    verbosity: pdfjs.VerbosityLevel.WARNINGS,
    useSystemFonts: false,
    disableFontFace: true,
    isEvalSupported: false,
  }).promise;
  const pages = [];
  for (let n = 1; n <= document.numPages; ++n) {
    const page = await document.getPage(n);
    const [, , width, height] = page.view;
    const content = await page.getTextContent({ disableNormalization: true });
    const units = [];
    let text = '';
    for (const item of content.items) {
      text += item.str + (item.hasEOL ? '\n' : '');
      if (item.str === '') continue;
      const [a, b, , d, e, f] = item.transform;
      const style = content.styles[item.fontName] || {};
      const size = Math.hypot(b, d) || item.height;
      const ascent = style.ascent ?? 0.8;
      const descent = style.descent ?? -0.2;
      units.push([item.str, e, height - f - ascent * size, e + item.width,
                  height - f - descent * size, Math.sign(a) || 1]);
    }
    pages.push({ width, height, units, text, find: {} });
  }

  // The viewer's find controller, as the find bar drives it, one query at a time.
  const eventBus = new viewer.EventBus();
  // The controller asks its link service only for the page count and the current page.
  const linkService = { pagesCount: document.numPages, page: 1 };
  const finder = new viewer.PDFFindController({ linkService, eventBus });
  finder.setDocument(document);
  for (const [number, words] of Object.entries(queries)) {
    const index = Number(number) - 1;
    if (index < 0 || index >= pages.length) continue;
    for (const query of new Set(words)) {
      eventBus.dispatch('find', {
        source: null, type: 'again', query, caseSensitive: true, entireWord: false,
        highlightAll: true, findPrevious: false, matchDiacritics: true,
      });
      await Promise.all(finder._extractTextPromises);
      while (finder._pendingFindMatches.size > 0)
        await new Promise((resolve) => setTimeout(resolve, 0));
      pages[index].find[query] = (finder.pageMatches[index] || []).length;
    }
  }
  await document.destroy();
  return pages;
}

async function readWithPdfium() {
  const { PDFiumLibrary } = await load('@hyzyla/pdfium');
  const wasmBinary = readFileSync(require.resolve('@hyzyla/pdfium/pdfium.wasm'));
  const library = await PDFiumLibrary.init({ wasmBinary });
  const document = await library.loadDocument(bytes.slice());
  const m = library.module;
  const scratch = m.wasmExports.malloc(64);
  const f32 = (i) => m.HEAPF32[(scratch >> 2) + i];
  const pages = [];
  for (const page of document.pages()) {
    const { originalWidth: width, originalHeight: height } = page.getOriginalSize();
    const textPage = m._FPDFText_LoadPage(page.pageIdx);
    const count = m._FPDFText_CountChars(textPage);
    // The loose box of a character: its advance and the font's ascent and descent.
    const box = (i) => {
      m._FPDFText_GetLooseCharBox(textPage, i, scratch);  // left, top, right, bottom
      return [f32(0), height - f32(1), f32(2), height - f32(3)];
    };
    const span = (first, n) => {
      let result = null;
      for (let i = first; i < first + n; ++i) {
        const b = box(i);
        if (b[2] <= b[0] && b[3] <= b[1]) continue;
        result = result === null ? b : [Math.min(result[0], b[0]), Math.min(result[1], b[1]),
                                          Math.max(result[2], b[2]), Math.max(result[3], b[3])];
      }
      return result;
    };
    let text = '';
    const units = [];
    let word = '';
    let first = 0;
    const close = (end) => {
      if (word !== '') units.push([word, ...(span(first, end - first) || [0, 0, 0, 0])]);
      word = '';
    };
    for (let i = 0; i < count; ++i) {
      let c = m._FPDFText_GetUnicode(textPage, i);
      const ch = String.fromCodePoint(c);
      text += ch;
      if (/\s/.test(ch)) {
        close(i);
        continue;
      }
      if (word === '') first = i;
      word += ch;
    }
    close(count);
    const find = {};
    for (const query of new Set(queries[String(page.number + 1)] || [])) {
      const units16 = Array.from(query, (ch) => ch).join('');
      const needle = m.wasmExports.malloc(2 * units16.length + 2);
      for (let k = 0; k < units16.length; ++k) m.HEAPU16[(needle >> 1) + k] = units16.charCodeAt(k);
      m.HEAPU16[(needle >> 1) + units16.length] = 0;
      const search = m._FPDFText_FindStart(textPage, needle, 0, 0);
      const hits = [];
      while (search && m._FPDFText_FindNext(search)) {
        const at = m._FPDFText_GetSchResultIndex(search);
        hits.push(span(at, m._FPDFText_GetSchCount(search)) || [0, 0, 0, 0]);
      }
      if (search) m._FPDFText_FindClose(search);
      m.wasmExports.free(needle);
      find[query] = hits;
    }
    m._FPDFText_ClosePage(textPage);
    pages.push({ width, height, units, text, find });
  }
  m.wasmExports.free(scratch);
  document.destroy();
  library.destroy();
  return pages;
}

const result = {};
for (const [name, read] of [['pdfjs', readWithPdfjs], ['pdfium', readWithPdfium]]) {
  warnings.length = 0;
  try {
    result[name] = { pages: await read(), warnings: [...warnings] };
  } catch (error) {
    result[name] = { pages: [], warnings: [...warnings], error: String(error && error.stack || error) };
  }
}
log(JSON.stringify(result));
