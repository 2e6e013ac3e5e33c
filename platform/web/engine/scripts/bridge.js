// Mirrors the page into the host: a snapshot of every document and element once the page has
// loaded, then each element event with the element's new state; applies the host's writes.
(function () {
    'use strict';
    if (window.tvskBridge) {
        return;
    }
    var documents = [];
    var host = null;
    var eventTypes = ['focus', 'blur', 'click', 'dblclick', 'mousedown', 'mouseup', 'mouseover', 'mouseout',
        'keydown', 'keypress', 'keyup', 'change', 'select', 'input'];

    function optionsOf(element) {
        var options = [];
        for (var i = 0; i < element.options.length; ++i) {
            var o = element.options[i];
            options.push({text: o.text, value: o.value, selected: o.selected});
        }
        return options;
    }

    function describe(element, index, parents) {
        var attributes = [];
        for (var i = 0; i < element.attributes.length; ++i) {
            attributes.push([element.attributes[i].name, element.attributes[i].value]);
        }
        var parent = element.parentElement ? parents.get(element.parentElement) : undefined;
        var item = {
            tag: element.tagName.toUpperCase(), parent: parent === undefined ? -1 : parent,
            attributes: attributes, html: element.innerHTML,
            text: element.innerText !== undefined ? element.innerText : element.textContent,
            value: element.value !== undefined && element.value !== null ? String(element.value) : '',
            checked: !!element.checked, disabled: !!element.disabled,
            width: element.offsetWidth || 0, height: element.offsetHeight || 0
        };
        if (item.tag === 'SELECT') {
            item.options = optionsOf(element);
        }
        return item;
    }

    function scan(doc) {
        var id = documents.length;
        var entry = {doc: doc, elements: [], indexes: new Map(), frames: []};
        documents.push(entry);
        var all = doc.getElementsByTagName('*');
        var described = [];
        for (var i = 0; i < all.length; ++i) {
            entry.elements.push(all[i]);
            entry.indexes.set(all[i], i);
            described.push(describe(all[i], i, entry.indexes));
        }
        var result = {url: doc.URL, elements: described, frames: []};
        listen(doc, id);
        for (var f = 0; f < all.length; ++f) {
            var tag = all[f].tagName.toUpperCase();
            if (tag !== 'FRAME' && tag !== 'IFRAME') {
                continue;
            }
            var child = null;
            try {
                child = all[f].contentDocument;
            } catch (e) {
                child = null;
            }
            if (child) {
                result.frames.push(scan(child));
            } else {
                // A frame of another origin is there, empty, and keeps its place in the numbering.
                documents.push({doc: null, elements: [], indexes: new Map()});
                result.frames.push({url: all[f].src, elements: [], frames: []});
            }
        }
        return result;
    }

    function stateOf(element) {
        if (!element) {
            return {};
        }
        var state = {width: element.offsetWidth || 0, height: element.offsetHeight || 0};
        if (element.value !== undefined) {
            state.value = element.value === null ? '' : String(element.value);
            state.checked = !!element.checked;
        }
        return state;
    }

    // The nearest element of the snapshot from the event's target; -1 for the document.
    function indexOf(entry, node) {
        for (; node; node = node.parentNode) {
            var index = entry.indexes.get(node);
            if (index !== undefined) {
                return index;
            }
        }
        return -1;
    }

    function send(id, type, event, keyCode) {
        if (!host) {
            return;
        }
        var entry = documents[id];
        var index = indexOf(entry, event.target);
        var message = {document: id, element: index, type: type, keyCode: keyCode,
            x: event.clientX || 0, y: event.clientY || 0,
            state: index >= 0 ? stateOf(entry.elements[index]) : {}};
        host.event(JSON.stringify(message));
    }

    function listen(doc, id) {
        eventTypes.forEach(function (type) {
            doc.addEventListener(type, function (event) {
                var key = event.keyCode || 0;
                if (type === 'keydown' && key === 112) {
                    // The help key: the page's help, not the browser's.
                    event.preventDefault();
                    send(id, 'keydown', event, key);
                    send(id, 'help', event, key);
                    return;
                }
                send(id, type, event, key);
                if (type === 'keydown' && (key === 9 || key === 27)) {
                    // No key press comes for these keys; the binding ends or cancels entry on it.
                    send(id, 'keypress', event, key);
                }
            }, true);
        });
    }

    function element(id, index) {
        var entry = documents[id];
        return entry ? entry.elements[index] : undefined;
    }

    window.tvskBridge = {
        apply: function (id, index, property, name, value) {
            var e = element(id, index);
            if (!e) {
                return;
            }
            switch (property) {
            case 'value': e.value = value; break;
            case 'checked': e.checked = value; break;
            case 'disabled': e.disabled = value; break;
            case 'html': e.innerHTML = value; break;
            case 'text': e.innerText = value; break;
            case 'attribute': e.setAttribute(name, value); break;
            case 'style': e.style.setProperty(name, value); break;
            case 'options':
                e.options.length = 0;
                value.forEach(function (o) {
                    e.add(new Option(o.text, o.value, false, o.selected));
                });
                break;
            }
        }
    };

    function start() {
        new QWebChannel(qt.webChannelTransport, function (channel) {
            host = channel.objects.tvskBridge;
            host.snapshot(JSON.stringify(scan(document)));
        });
    }

    if (document.readyState === 'complete') {
        start();
    } else {
        window.addEventListener('load', start);
    }
})();
