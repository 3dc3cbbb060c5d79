// The preview card: each sheet of the job as the service's own painter
// draws it (a PNG per sheet), so that what the page shows is what prints,
// and the list of the labels the job would print.

import { ApiError, blob, json } from './api.js';
import { byId, clear, row } from './dom.js';
import { onLanguageChange, tr } from './i18n.js';

// A4's width in inches: the preview is drawn at the resolution its frame shows.
const PageInches = 8.27;

export class PreviewCard {
  constructor() {
    this.image = byId('previewImage');
    this.imageUrl = '';
    this.asked = 0;
    // Told the first label the job would print, or null.
    this.onFirstLabel = () => {};
    onLanguageChange(() => this.showTexts());
  }

  dpi() {
    const width = byId('previewImage').parentElement.clientWidth || 420;
    const pixels = width * (window.devicePixelRatio || 1);
    return Math.max(36, Math.min(200, Math.ceil(pixels / PageInches)));
  }

  // Asks for the job's sheets and labels; answers {sheets, labels} or
  // throws the service's refusal. Older questions' answers are dropped.
  async update(body) {
    const asked = ++this.asked;
    this.body = body;
    const { body: answer } = await json('POST', '/api/v1/preview', body);
    if (asked !== this.asked) return null;
    this.sheets = answer.sheets;
    this.listLabels(body, asked);
    return answer;
  }

  async showSheet(sheet) {
    const asked = this.asked;
    if (!this.body) return;
    try {
      const image = await blob('POST', `/api/v1/preview?page=${sheet}&dpi=${this.dpi()}`, this.body);
      if (asked !== this.asked) return;
      if (this.imageUrl) URL.revokeObjectURL(this.imageUrl);
      this.imageUrl = URL.createObjectURL(image);
      this.image.src = this.imageUrl;
      this.image.hidden = false;
      this.sheet = sheet;
      this.showTexts();
    } catch (error) {
      if (!(error instanceof ApiError)) throw error;
      byId('previewNote').textContent = error.message;
    }
  }

  // The labels the job would print, as the service plans them.
  async listLabels(body, asked) {
    const table = byId('labelList');
    try {
      const { body: answer } = await json('POST', '/api/v1/labels', body);
      if (asked !== this.asked) return;
      const rows = (answer.labels || []).map((label) =>
        row([label.sheet, label.position, label.sample, label.upper, label.lower]));
      table.tBodies[0].replaceChildren(...rows);
      table.hidden = false;
      byId('labelListNote').textContent = '';
      this.onFirstLabel((answer.labels || [])[0] || null, body);
    } catch (error) {
      if (asked !== this.asked) return;
      table.hidden = true;
      if (error instanceof ApiError) byId('labelListNote').textContent = error.message;
      else throw error;
    }
  }

  clearSheets(message) {
    this.asked++;
    this.body = null;
    this.image.hidden = true;
    byId('previewNote').textContent = message || '';
    clear(byId('labelList').tBodies[0]);
  }

  showTexts() {
    if (this.sheet) this.image.alt = tr('%1 枚目のプレビュー', this.sheet);
  }
}

