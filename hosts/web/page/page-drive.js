// Drives in links: a recording deflated by the browser's own CompressionStream, in
// base64url after #drive= in the page's address. A link is untrusted: its size is capped
// before it is inflated, and what it inflates to is capped while it inflates, fed a small
// slice at a time, so a link that would inflate to gigabytes stops at the cap; the text
// itself is the script parser's to check.
'use strict';

(function (exports) {
  const PREFIX = '#drive=';
  const FORMAT = 'deflate-raw';
  const MOST_LINK = 65536;         // characters of a drive in a link: a long drive takes half
  const MOST_DRIVE = 4 * 1024 * 1024;  // bytes of a drive, inflated
  const SLICE = 256;               // deflated bytes inflated at a time: at most about 256 KiB out

  class LinkFault extends Error {}

  function base64url(bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }

  function fromBase64url(data) {
    const text = atob(data.replace(/-/g, '+').replace(/_/g, '/'));
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes;
  }

  const canShare = () => typeof CompressionStream === 'function';

  // The page at `address` with `script` as its drive, its own query and fragment left off:
  // the recording's header carries the options it needs.
  async function linkFor(script, address) {
    const stream = new Blob([new TextEncoder().encode(script)]).stream().pipeThrough(new CompressionStream(FORMAT));
    const deflated = new Uint8Array(await new Response(stream).arrayBuffer());
    return address.split('#')[0].split('?')[0] + PREFIX + base64url(deflated);
  }

  const carriesDrive = (fragment) => fragment.startsWith(PREFIX);

  // The drive's bytes from the address's fragment; a LinkFault in the page's words.
  async function driveFrom(fragment) {
    const data = fragment.slice(PREFIX.length);
    if (data.length > MOST_LINK) {
      throw new LinkFault(`El enlace es demasiado largo: su recorrido ocupa ${data.length} caracteres y caben ` +
                          `${MOST_LINK}.`);
    }
    if (!/^[A-Za-z0-9_-]*$/.test(data) || data.length % 4 === 1) {
      throw new LinkFault('El enlace está dañado: su recorrido no está en base64url.');
    }
    if (typeof DecompressionStream !== 'function') {
      throw new LinkFault('Este navegador no sabe abrir recorridos compartidos.');
    }
    const deflated = fromBase64url(data);
    let at = 0;
    const slices = new ReadableStream({
      pull(controller) {
        if (at >= deflated.length) {
          controller.close();
          return;
        }
        controller.enqueue(deflated.slice(at, at + SLICE));
        at += SLICE;
      },
    }, { highWaterMark: 0 });
    const reader = slices.pipeThrough(new DecompressionStream(FORMAT)).getReader();
    const parts = [];
    let size = 0;
    try {
      for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        size += value.length;
        if (size > MOST_DRIVE) {
          throw new LinkFault(`El recorrido del enlace pasa de ${MOST_DRIVE / 1024 / 1024} MiB al descomprimirlo: ` +
                              'no se abre.');
        }
        parts.push(value);
      }
    } catch (error) {
      reader.cancel().catch(() => {});
      if (error instanceof LinkFault) throw error;
      throw new LinkFault('El enlace está dañado: su recorrido no se puede descomprimir.');
    }
    const drive = new Uint8Array(size);
    let offset = 0;
    for (const part of parts) {
      drive.set(part, offset);
      offset += part.length;
    }
    return drive;
  }

  Object.assign(exports, { LinkFault, canShare, linkFor, carriesDrive, driveFrom, MOST_LINK, MOST_DRIVE });
})(typeof module === 'object' ? module.exports : (window.viretaDrive = {}));
