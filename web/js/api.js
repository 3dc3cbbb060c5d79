// The service's API, as any laboratory system calls it: JSON over HTTP with
// the token in the Authorization header. The token lives in this tab's
// session storage, never in an address. A 401 asks the user for a token (once
// for all the calls waiting) and tries again.

import { language, tr } from './i18n.js';

const TokenKey = 'rondelmaker.token';
// Every call has a deadline; a job of 1200 labels takes a while to draw.
const DeadlineMs = 30000;
const JobDeadlineMs = 120000;

export class ApiError extends Error {
  constructor(status, body) {
    super(body.message || `HTTP ${status}`);
    this.status = status;
    this.code = body.error || '';
    this.field = body.field || '';
    this.body = body;
  }
}

let askToken = async () => null;
let pendingAsk = null;

// `ask(wrong)` shows the prompt and resolves to the token typed; `wrong` says
// that the token sent before was refused.
export function whenTokenNeeded(ask) {
  askToken = ask;
}

function tokenOnce(wrong) {
  if (!pendingAsk) {
    pendingAsk = askToken(wrong).finally(() => {
      pendingAsk = null;
    });
  }
  return pendingAsk;
}

async function send(method, path, body, deadlineMs) {
  const headers = { Accept: 'application/json', 'Accept-Language': language() };
  const token = sessionStorage.getItem(TokenKey);
  if (token) headers.Authorization = `Bearer ${token}`;
  if (body !== undefined) headers['Content-Type'] = 'application/json';
  const controller = new AbortController();
  const timer = setTimeout(() => controller.abort(), deadlineMs);
  try {
    const response = await fetch(path, {
      method,
      headers,
      body: body === undefined ? undefined : JSON.stringify(body),
      cache: 'no-store',
      credentials: 'omit',
      redirect: 'error',
      signal: controller.signal,
    });
    return { response, token };
  } catch (error) {
    const timedOut = error && error.name === 'AbortError';
    throw new ApiError(0, {
      error: timedOut ? 'timeout' : 'network',
      message: timedOut ? tr('サービスの応答がありません。') : tr('サービスに接続できません。'),
    });
  } finally {
    clearTimeout(timer);
  }
}

// The answer to a call, after any token the user had to give; a 401 is never
// returned.
export async function call(method, path, body, deadlineMs = DeadlineMs) {
  for (;;) {
    const { response, token } = await send(method, path, body, deadlineMs);
    if (response.status !== 401) return response;
    const stored = sessionStorage.getItem(TokenKey);
    if (stored && stored !== token) continue; // another call got a new token meanwhile
    sessionStorage.removeItem(TokenKey);
    const entered = await tokenOnce(Boolean(token));
    if (entered) sessionStorage.setItem(TokenKey, entered);
  }
}

async function errorOf(response) {
  let body = {};
  try {
    body = await response.json();
  } catch {
    body = { error: 'bad-answer', message: `HTTP ${response.status}` };
  }
  return new ApiError(response.status, body);
}

// The JSON of a successful answer; else an ApiError with the service's
// error, field and message.
export async function json(method, path, body, deadlineMs) {
  const response = await call(method, path, body, deadlineMs);
  if (!response.ok) throw await errorOf(response);
  return { status: response.status, body: await response.json() };
}

export async function get(path) {
  return (await json('GET', path)).body;
}

// A document (a PDF, a spreadsheet, a preview image) as a blob.
export async function blob(method, path, body) {
  const response = await call(method, path, body, JobDeadlineMs);
  if (!response.ok) throw await errorOf(response);
  return response.blob();
}

export function postJob(path, body) {
  return json('POST', path, body, JobDeadlineMs);
}

// A job's document (labels.pdf, record.pdf, labels.xls) as a blob.
export function documentOf(path) {
  return blob('GET', path);
}
