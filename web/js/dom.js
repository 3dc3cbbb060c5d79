// Small helpers for building the page. Every text goes in as text
// (textContent), never as HTML: labels and the registry's texts are the
// laboratory's data, and a label such as "<img src=x onerror=…>" must show as
// those characters.

export function byId(id) {
  const element = document.getElementById(id);
  if (!element) throw new Error(`the page lacks #${id}`);
  return element;
}

// An element with attributes and children (elements or texts).
export function el(tag, attributes = {}, ...children) {
  const element = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (value === false || value === null || value === undefined) continue;
    if (name === 'className') element.className = value;
    else if (name === 'dataset') Object.assign(element.dataset, value);
    else element.setAttribute(name, value === true ? '' : String(value));
  }
  for (const child of children) {
    if (child === null || child === undefined || child === false) continue;
    element.append(child instanceof Node ? child : document.createTextNode(String(child)));
  }
  return element;
}

export function clear(element) {
  element.replaceChildren();
}

// A table row of texts.
export function row(cells, attributes = {}) {
  return el('tr', attributes, ...cells.map((cell) => (cell instanceof Node ? el('td', {}, cell) : el('td', {}, cell ?? ''))));
}

// Runs `action` at most once per `ms`, after the last call.
export function debounced(action, ms) {
  let timer = 0;
  return (...args) => {
    clearTimeout(timer);
    timer = setTimeout(() => action(...args), ms);
  };
}

// A whole number from a number input, or null for an empty or broken one.
export function wholeNumber(input) {
  const text = input.value.trim();
  if (text === '' || !/^[-+]?\d+$/.test(text)) return null;
  return Number(text);
}

// Offers `blob` to the user as a file, and opens it where `open` is set
// (a PDF in the browser's own viewer, from which it prints).
export function offerFile(blob, fileName, open = false) {
  const url = URL.createObjectURL(blob);
  if (open) {
    window.open(url, '_blank', 'noopener');
  } else {
    const link = el('a', { href: url, download: fileName, hidden: true });
    document.body.append(link);
    link.click();
    link.remove();
  }
  // The browser has the file by then; the address is not needed longer.
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}
