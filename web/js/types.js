// What the twelve label types show, for the design's controls and discs.
// The service decides every label; this only says which controls a type
// has, as the window's type panels do.
//   upper: 'text' (one of the design's upper texts), 'monthDay', 'yearMonth',
//          'type8'
//   lower: 'number', 'type8' or 'free'
//   upperKey: the key of the type's text in the design's upperTexts
//   letters: the keys of its letters in the design's letters
export const LabelTypes = [
  null,
  { type: 1, digits: 4, upper: 'text', upperKey: '1', letters: [], lower: 'number' },
  { type: 2, digits: 3, upper: 'text', upperKey: '2', letters: ['type2'], lower: 'number' },
  { type: 3, digits: 2, upper: 'text', upperKey: '3', letters: ['type3.0', 'type3.1'], lower: 'number' },
  { type: 4, digits: 4, upper: 'monthDay', letters: [], lower: 'number' },
  { type: 5, digits: 4, upper: 'yearMonth', letters: [], lower: 'number' },
  { type: 6, digits: 3, upper: 'yearMonth', letters: ['type6'], lower: 'number' },
  { type: 7, digits: 3, upper: 'monthDay', letters: ['type7'], lower: 'number' },
  { type: 8, digits: 0, upper: 'type8', letters: [], lower: 'type8' },
  { type: 9, digits: 0, upper: 'text', upperKey: '9', letters: [], lower: 'free' },
  { type: 10, digits: 0, upper: 'text', upperKey: '10', letters: ['type10'], lower: 'free' },
  { type: 11, digits: 0, upper: 'monthDay', letters: [], lower: 'free' },
  { type: 12, digits: 0, upper: 'yearMonth', letters: [], lower: 'free' },
];

export const TypeNumbers = LabelTypes.filter(Boolean).map((t) => t.type);

export const Letters = Array.from({ length: 26 }, (_, i) => String.fromCharCode(65 + i));
export const Steps = [1, 2, 3, 5, 10];
// The colour lists' items, as design files name them.
export const TextColours = ['Black', 'Red', 'Blue', 'Green', 'Yellow', 'Magenta', 'Aqua', 'Lime', 'White'];
export const BackgroundColours = ['White', 'Yellow', 'SkyBlue', 'Green', 'Silver', 'Red', 'Aqua', 'Lime', 'Custom'];
// Their colours on screen, as the labels print them.
export const TextColourValues = ['#050505', '#ff0000', '#0000ff', '#008000', '#ffff00', '#ff00ff', '#00ffff', '#00ff00', '#ffffff'];
export const BackgroundValues = ['#ffffff', '#ffff00', '#a6caf0', '#008000', '#c0c0c0', '#ff0000', '#00ffff', '#00ff00'];

export function hasNumber(type) {
  return LabelTypes[type].digits > 0;
}

export function hasDate(type) {
  const upper = LabelTypes[type].upper;
  return upper === 'monthDay' || upper === 'yearMonth';
}

export function hasFreeTexts(type) {
  return LabelTypes[type].lower === 'free';
}

export function numberRange(type) {
  const digits = LabelTypes[type].digits;
  return digits === 4 ? 10000 : digits === 3 ? 1000 : digits === 2 ? 100 : 10000;
}

// The date stamps of a label printed `adjust` days from today.
export function dateStamp(upper, adjust, today = new Date()) {
  const date = new Date(today.getFullYear(), today.getMonth(), today.getDate() + adjust);
  const two = (n) => String(n).padStart(2, '0');
  if (upper === 'monthDay') return `${two(date.getMonth() + 1)}/${two(date.getDate())}`;
  return `${two(date.getFullYear() % 100)}|${two(date.getMonth() + 1)}`;
}

// The design the page starts from: the window's defaults.
export function defaultDesign() {
  return {
    format: 'rondelmaker-design',
    version: 2,
    type: 1,
    upperTexts: { 1: '', 2: '', 3: '', 9: '', 10: '' },
    freeTexts: [],
    type8Lines: [],
    letters: { type2: 'A', type3: ['A', 'A'], type6: 'A', type7: 'A', type10: 'A' },
    firstNumber: 1,
    sampleCount: 30,
    repeatCount: 1,
    step: 1,
    plainNumbers: false,
    dateAdjust: 0,
    appearance: {
      textColor: 'Black',
      background: 'White',
      customColor: '#000000',
      frame: false,
      rainbow: false,
      font: { family: 'ＭＳ Ｐゴシック', pointSize: 9, bold: true, italic: false },
    },
    code: 'none',
  };
}
