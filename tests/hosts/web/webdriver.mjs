// What the WebKit engines need and puppeteer cannot give: their WebDriver servers, an X
// server for WebKitGTK, a small WebDriver classic client, and a loopback proxy that is
// their network switch and their only way to run a script before the page's own.
import { spawn } from 'node:child_process';
import http from 'node:http';
import net from 'node:net';

const limit = (ms) => AbortSignal.timeout(ms);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Children that outlive a crashed test would hold the runner; each leads its own group,
// so the browsers their drivers start go with them.
const living = new Set();
const endAll = () => {
  for (const child of living) try { process.kill(-child.pid, 'SIGKILL'); } catch {}
};
process.on('exit', endAll);
for (const signal of ['SIGINT', 'SIGTERM', 'SIGHUP']) {
  process.once(signal, () => {
    endAll();
    process.kill(process.pid, signal);
  });
}

export function start(command, args, options = {}) {
  const child = spawn(command, args, { stdio: ['ignore', 'ignore', 'pipe'], ...options, detached: true });
  living.add(child);
  // A test that forgets to close must not keep node waiting: the exit hook ends these.
  child.unref();
  for (const stream of child.stdio) stream?.unref?.();
  let said = '';
  child.stderr?.on('data', (chunk) => { said = (said + chunk).slice(-2000); });
  child.said = () => said;
  child.once('exit', () => living.delete(child));
  child.end = async () => {
    if (child.exitCode !== null || child.signalCode !== null) return;
    const gone = new Promise((resolve) => child.once('exit', resolve));
    try { process.kill(-child.pid, 'SIGTERM'); } catch {}
    if (await Promise.race([gone.then(() => true), sleep(3000)])) return;
    try { process.kill(-child.pid, 'SIGKILL'); } catch {}
    await Promise.race([gone, sleep(2000)]);
  };
  return child;
}

// An X server on a display of its own choosing, big enough for a phone at three times.
export async function xServer() {
  const x = start('Xvfb', ['-displayfd', '3', '-screen', '0', '3200x3200x24', '-nolisten', 'tcp', '-noreset'],
                  { stdio: ['ignore', 'ignore', 'pipe', 'pipe'] });
  const display = await Promise.race([
    new Promise((resolve) => x.stdio[3].once('data', (data) => resolve(':' + String(data).trim()))),
    sleep(10000).then(() => null)]);
  if (!display) {
    await x.end();
    throw new Error(`Xvfb gave no display in 10 s: ${x.said()}`);
  }
  return { display, end: x.end };
}

async function freePort() {
  const server = net.createServer();
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  await new Promise((resolve) => server.close(resolve));
  return port;
}

// A WebDriver server and one session of it; `call` sends a command and gives its value.
export async function session(command, capabilities, env) {
  const port = await freePort();
  const driver = start(command, [`--port=${port}`, '--host=127.0.0.1'], { env });
  const base = `http://127.0.0.1:${port}`;
  async function send(method, path, body, ms = 60000) {
    const answer = await fetch(base + path, {
      method, signal: limit(ms), headers: { 'content-type': 'application/json' },
      body: body === undefined ? undefined : JSON.stringify(body) });
    const { value } = await answer.json();
    if (!answer.ok) throw new Error(`${command} ${method} ${path}: ${value?.error}: ${value?.message}`);
    return value;
  }
  try {
    for (let end = Date.now() + 10000; ; await sleep(100)) {
      if (await send('GET', '/status', undefined, 1000).then((status) => status, () => null)) break;
      if (driver.exitCode !== null || Date.now() > end) throw new Error(`${command} did not listen: ${driver.said()}`);
    }
    const { sessionId } = await send('POST', '/session', { capabilities: { alwaysMatch: capabilities } }, 30000);
    const call = (method, path, body) => send(method, `/session/${sessionId}${path}`, body);
    await call('POST', '/timeouts', { script: 30000, pageLoad: 30000, implicit: 0 });
    call.end = async () => {
      await send('DELETE', `/session/${sessionId}`, undefined, 5000).catch(() => {});
      await driver.end();
    };
    return call;
  } catch (error) {
    await driver.end();
    throw error;
  }
}

// Forwards the browser's requests to loopback servers only. Offline, it cuts every
// connection as a dead network would. Into each HTML page it puts, first in <head>, a
// same-origin script (the page's CSP allows no inline one) from `script()`.
export async function proxy(script) {
  const sockets = new Set();
  const served = new Map();
  let offline = false;
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    const kept = /^\/__vireta-driver\/(\d+)\.js$/.exec(url.pathname);
    if (kept) {  // the page's service worker may ask for it offline too
      response.writeHead(served.has(kept[1]) ? 200 : 404, { 'content-type': 'text/javascript' })
        .end(served.get(kept[1]) ?? '');
      return;
    }
    if (offline || !['127.0.0.1', 'localhost', '[::1]'].includes(url.hostname)) {
      request.socket.destroy();
      return;
    }
    const headers = { ...request.headers };
    for (const name of ['proxy-connection', 'connection', 'keep-alive', 'accept-encoding', 'if-none-match',
                        'if-modified-since']) delete headers[name];
    const upstream = http.request(url, { method: request.method, headers, signal: limit(60000) }, (answer) => {
      // Only a page being opened gets the script: a script's own fetch (the service worker
      // keeping the page) must get the bytes as served, or their hash is not the build's.
      const opened = request.headers['sec-fetch-dest'] ? request.headers['sec-fetch-dest'] === 'document'
        : /^text\/html/.test(request.headers.accept ?? '');
      if (!opened || !/^text\/html/.test(answer.headers['content-type'] ?? '') || answer.statusCode !== 200) {
        response.writeHead(answer.statusCode, answer.headers);
        answer.pipe(response);
        return;
      }
      const parts = [];
      answer.on('data', (part) => parts.push(part));
      answer.on('end', () => {
        const id = String(served.size);
        served.set(id, script());
        const tag = `<script src="/__vireta-driver/${id}.js"></script>`;
        const html = Buffer.concat(parts).toString('utf8');
        const at = /<head[^>]*>/i.exec(html) ?? /<!doctype[^>]*>/i.exec(html);
        const body = at ? html.slice(0, at.index + at[0].length) + tag + html.slice(at.index + at[0].length)
          : tag + html;
        const { 'content-length': _, ...rest } = answer.headers;
        response.writeHead(200, rest).end(body);
      });
    });
    upstream.on('error', () => request.socket.destroy());
    request.pipe(upstream);
  });
  server.on('connect', (request, socket) => socket.destroy());  // no tunnels: nothing leaves the machine
  server.on('connection', (socket) => {
    sockets.add(socket);
    socket.once('close', () => sockets.delete(socket));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  server.unref();
  return {
    url: `http://127.0.0.1:${server.address().port}`,
    setOffline(value) {
      offline = value;
      if (value) for (const socket of sockets) socket.destroy();
    },
    close: () => {
      for (const socket of sockets) socket.destroy();
      return new Promise((resolve) => server.close(resolve));
    },
  };
}
