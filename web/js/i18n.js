// The page's languages: Japanese, the language its texts are written in,
// and English from the program's own translation, which the service hands
// out as /web/texts/en.json (the same texts the window shows). The choice
// follows the browser's language until the user switches; the switch is
// kept in this browser.

const ChoiceKey = 'rondelmaker.language';
const listeners = [];
let current = 'ja';
let english = {};

export function language() {
  return current;
}

// The text of `source` in the page's language, with %1, %2, ... filled in.
export function tr(source, ...args) {
  let text = current === 'en' ? english[source] ?? source : source;
  args.forEach((arg, i) => {
    text = text.replaceAll(`%${i + 1}`, String(arg));
  });
  return text;
}

// Japanese where the browser's first language is Japanese, else English,
// as the window chooses by the system's language.
export function browserLanguage() {
  const first = (navigator.languages && navigator.languages[0]) || navigator.language || 'ja';
  return first.toLowerCase().startsWith('ja') ? 'ja' : 'en';
}

export function chosenLanguage() {
  const kept = localStorage.getItem(ChoiceKey);
  return kept === 'ja' || kept === 'en' ? kept : browserLanguage();
}

// Calls `listener` after every change of language, to redraw what the page
// made with tr().
export function onLanguageChange(listener) {
  listeners.push(listener);
}

// The sources of the page's fixed texts: elements marked data-t keep their
// Japanese text as the source; data-t-ATTRIBUTE holds an attribute's source.
function rememberSources() {
  for (const element of document.querySelectorAll('[data-t]')) {
    if (!element.dataset.t) element.dataset.t = element.textContent.trim();
  }
}

function translatePage() {
  for (const element of document.querySelectorAll('[data-t]')) element.textContent = tr(element.dataset.t);
  for (const element of document.querySelectorAll('*')) {
    for (const attribute of element.attributes) {
      if (attribute.name.startsWith('data-t-')) {
        element.setAttribute(attribute.name.slice('data-t-'.length), tr(attribute.value));
      }
    }
  }
}

export async function setLanguage(wanted, keep = false) {
  rememberSources();
  if (wanted === 'en' && Object.keys(english).length === 0) {
    const response = await fetch('/web/texts/en.json', { cache: 'no-store' });
    if (response.ok) english = (await response.json()).texts || {};
  }
  current = wanted === 'en' ? 'en' : 'ja';
  if (keep) localStorage.setItem(ChoiceKey, current);
  document.documentElement.lang = current;
  translatePage();
  for (const listener of listeners) listener(current);
}
