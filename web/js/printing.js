// Sending a job, as the window's Print button does: labels issued before
// are asked about in a dialog with the window's question, and nothing prints
// until the user says so. After the job the page shows where the next job
// starts, and its record and spreadsheet; a PDF comes with the line that it
// must print at actual size.

import { ApiError, documentOf, postJob } from './api.js';
import { byId, clear, el, offerFile } from './dom.js';
import { tr } from './i18n.js';

// The window names the first few runs of labels and counts the rest.
const ShownIssued = 8;

// Asks the duplicate question; resolves true for "print again".
function askAboutIssued(error) {
  const dialog = byId('duplicateDialog');
  const list = byId('duplicateList');
  clear(list);
  const lines = Array.isArray(error.body.issued) ? error.body.issued : [];
  for (const line of lines.slice(0, ShownIssued)) list.append(el('li', {}, line));
  if (lines.length > ShownIssued) list.append(el('li', {}, tr('ほか %1 件', lines.length - ShownIssued)));
  dialog.returnValue = '';
  dialog.showModal();
  byId('doNotPrint').focus();
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => resolve(dialog.returnValue === 'yes'), { once: true });
  });
}

// Posts a job (or a reprint); answers the 201's body, or null when the user
// chose not to print labels issued before. Other refusals are thrown.
export async function sendJob(path, body) {
  try {
    return (await postJob(path, body)).body;
  } catch (error) {
    if (!(error instanceof ApiError) || error.status !== 409 || !Array.isArray(error.body.issued)) throw error;
    if (!(await askAboutIssued(error))) return null;
    return (await postJob(path, { ...body, allowDuplicates: true })).body;
  }
}

function documentButton(caption, path, fileName, open = false) {
  const button = el('button', { type: 'button', className: 'secondary' }, caption);
  button.addEventListener('click', async () => {
    button.disabled = true;
    try {
      offerFile(await documentOf(path), fileName, open);
    } catch (error) {
      if (!(error instanceof ApiError)) throw error;
      button.after(el('p', { className: 'problem', role: 'alert' }, error.message));
    } finally {
      button.disabled = false;
    }
  });
  return button;
}

export function labelCountOf(job) {
  if (typeof job.labelCount === 'number') return job.labelCount;
  return Array.isArray(job.labels) ? job.labels.length : Number(job.labels) || 0;
}

// What the page shows after a job printed (or was made as a PDF), in
// `panel`.
export function showAfterJob(job, panel = byId('afterJob')) {
  clear(panel);
  const documents = job.documents || {};
  const base = `/api/v1/jobs/${job.id}/`;
  panel.append(el('p', { className: 'done' }, tr('ジョブ %1: %2～%3（%4 枚）', job.id, job.first, job.last, labelCountOf(job))));
  if (job.next && job.next.first) {
    panel.append(el('p', {}, tr('次: %1 ・ 開始位置 %2', job.next.first, job.next.startPosition)));
  } else if (job.next) {
    panel.append(el('p', {}, tr('次の開始位置: %1', job.next.startPosition)));
  }
  const buttons = el('div', { className: 'actions' });
  if (job.pdf) {
    buttons.append(documentButton(tr('PDF を開く'), job.pdf, `job-${job.id}-labels.pdf`, true),
      documentButton(tr('PDF を保存'), job.pdf, `job-${job.id}-labels.pdf`));
    panel.append(el('p', { className: 'notice' }, tr('PDF は実際のサイズ（100 %）で印刷してください。ページに合わせて拡大・縮小すると、ラベルの位置がずれます。')));
  }
  if (documents['record.pdf'] !== undefined || !job.documents) {
    buttons.append(documentButton(tr('Report'), documents['record.pdf'] || `${base}record.pdf`, `job-${job.id}-record.pdf`));
  }
  if (documents['labels.xls'] !== undefined || (!job.documents && job.type !== 8)) {
    buttons.append(documentButton(tr('Excel'), documents['labels.xls'] || `${base}labels.xls`, `job-${job.id}-labels.xls`));
  }
  panel.append(buttons);
  panel.hidden = false;
}
