// The suite's own list: a doubly linked list with a count, walked with a
// separate iterator. The list owns its nodes, never what a pointer item
// points to; DeleteAll is the owner's way of deleting those as well.
#pragma once

#include <type_traits>

template <typename T> class Array
{
public:
    struct Node
    {
        T item;
        Node* prev;
        Node* next;
    };

    class Iterator
    {
    public:
        Iterator() = default;
        explicit Iterator(const Array* list) { Reset(list); }
        virtual ~Iterator() = default;

        // Restarts at the head of the given list (or of the same list).
        void Reset(const Array* list)
        {
            m_list = list;
            Reset();
        }
        void Reset()
        {
            m_index = 0;
            m_current = m_list != nullptr ? m_list->m_head : nullptr;
            m_count = m_list != nullptr ? m_list->m_count : 0;
            m_last = nullptr;
        }

        // The current node (null past either end), remembered as the last read.
        Node* GetCurrent()
        {
            m_last = m_current;
            return m_current;
        }
        // The current item, or an empty item past either end.
        T GetItem()
        {
            Node* node = GetCurrent();
            return node != nullptr ? node->item : T{};
        }

        virtual Node* Next()
        {
            if (m_current != nullptr)
            {
                m_current = m_current->next;
                ++m_index;
            }
            return m_current;
        }
        virtual Node* Prev()
        {
            if (m_current != nullptr)
            {
                m_current = m_current->prev;
                --m_index;
            }
            return m_current;
        }
        // Steps n nodes towards the tail (n > 0) or the head (n < 0),
        // stopping early at either end.
        virtual Node* Move(int n)
        {
            for (; n > 0 && m_current != nullptr; --n)
            {
                Next();
            }
            for (; n < 0 && m_current != nullptr; ++n)
            {
                Prev();
            }
            return m_current;
        }

        // Advances from the current node to the first one holding the item.
        bool Find(const T& item)
        {
            for (; m_current != nullptr; Next())
            {
                if (m_current->item == item)
                {
                    return true;
                }
            }
            return false;
        }

        const Array* GetList() const { return m_list; }
        int GetIndex() const { return m_index; }
        int GetCount() const { return m_count; }
        Node* GetLast() const { return m_last; }

    private:
        friend class Array;

        const Array* m_list = nullptr;
        int m_count = 0;
        int m_index = 0;
        Node* m_current = nullptr;
        Node* m_last = nullptr;
    };

    Array() = default;
    Array(const Array& other) { Append(other); }
    Array& operator=(const Array& other)
    {
        if (this != &other)
        {
            RemoveAll();
            Append(other);
        }
        return *this;
    }
    // The nodes die with the list whatever the flag says: nothing else can
    // reach them once the list is gone.
    ~Array()
    {
        m_freeNodes = 1;
        RemoveAll();
    }

    int GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    Node* GetHead() const { return m_head; }
    Node* GetTail() const { return m_tail; }

    // A list whose flag is cleared keeps its nodes through RemoveAll, and
    // joins only lists with the same flag.
    bool IsFreeNodes() const { return m_freeNodes != 0; }
    void SetFreeNodes(bool freeNodes) { m_freeNodes = freeNodes ? 1 : 0; }

    int AddTail(const T& item)
    {
        Node* node = new Node{item, m_tail, nullptr};
        if (m_tail != nullptr)
        {
            m_tail->next = node;
        }
        else
        {
            m_head = node;
        }
        m_tail = node;
        return ++m_count;
    }

    int AddHead(const T& item)
    {
        Node* node = new Node{item, nullptr, m_head};
        if (m_head != nullptr)
        {
            m_head->prev = node;
        }
        else
        {
            m_tail = node;
        }
        m_head = node;
        return ++m_count;
    }

    // Inserts before the node now at index; at or past the end appends.
    void InsertAt(const T& item, int index)
    {
        Node* before = index >= 0 ? GetNodeAt(index) : m_head;
        if (before == nullptr)
        {
            AddTail(item);
            return;
        }
        Node* node = new Node{item, before->prev, before};
        if (before->prev != nullptr)
        {
            before->prev->next = node;
        }
        else
        {
            m_head = node;
        }
        before->prev = node;
        ++m_count;
    }

    // The node at index, walked from the nearer end; null out of range.
    Node* GetNodeAt(int index) const
    {
        if (index < 0 || index >= m_count)
        {
            return nullptr;
        }
        Node* node = nullptr;
        if (index >= m_count / 2)
        {
            node = m_tail;
            for (int step = m_count - index - 1; step > 0; --step)
            {
                node = node->prev;
            }
        }
        else
        {
            node = m_head;
            for (int step = index; step > 0; --step)
            {
                node = node->next;
            }
        }
        return node;
    }

    // The item at index, or an empty item (null for pointers) out of range.
    T GetAt(int index) const
    {
        Node* node = GetNodeAt(index);
        return node != nullptr ? node->item : T{};
    }

    int IndexOf(const T& item) const
    {
        int index = 0;
        for (Node* node = m_head; node != nullptr; node = node->next, ++index)
        {
            if (node->item == item)
            {
                return index;
            }
        }
        return -1;
    }

    bool Contains(const T& item) const { return IndexOf(item) != -1; }

    // Removes the iterator's current node, leaving the iterator on the
    // following one; 0 for an iterator of another list or past the end.
    int RemoveAt(Iterator& position)
    {
        Node* node = position.m_current;
        if (position.m_list != this || node == nullptr)
        {
            return 0;
        }
        position.Next();
        Unlink(node);
        position.m_count = m_count;
        return 1;
    }

    // Removes the first node holding the item; 0 when there is none.
    int Remove(const T& item)
    {
        for (Node* node = m_head; node != nullptr; node = node->next)
        {
            if (node->item == item)
            {
                Unlink(node);
                return 1;
            }
        }
        return 0;
    }

    void RemoveAll()
    {
        if (m_count == 0 || m_freeNodes == 0)
        {
            return;
        }
        for (Node* node = m_head; node != nullptr;)
        {
            Node* next = node->next;
            delete node;
            node = next;
        }
        m_head = m_tail = nullptr;
        m_count = 0;
    }

    // Moves the node at position from so that it stands at position to
    // afterwards. Both positions are clamped into the list, so a move past
    // either end stops there; a move between equal positions changes
    // nothing. 0 only for an empty list.
    int Move(int from, int to)
    {
        if (m_count == 0)
        {
            return 0;
        }
        from = ClampPosition(from);
        to = ClampPosition(to);
        if (from == to)
        {
            return 1;
        }
        Node* node = GetNodeAt(from);
        Detach(node);
        Node* before = GetNodeAt(to);
        node->prev = before != nullptr ? before->prev : m_tail;
        node->next = before;
        (node->prev != nullptr ? node->prev->next : m_head) = node;
        (before != nullptr ? before->prev : m_tail) = node;
        ++m_count;
        return 1;
    }

    // Deletes what every pointer item points to (through its virtual
    // destructor where it has one), then removes every node.
    void DeleteAll()
    {
        static_assert(std::is_pointer_v<T>, "DeleteAll needs pointer items");
        for (Node* node = m_head; node != nullptr; node = node->next)
        {
            delete node->item;
            node->item = nullptr;
        }
        RemoveAll();
    }

    // Links every node of this list after the other's tail; 0 when this list
    // is empty or the two lists free their nodes differently.
    int MoveAllTo(Array& other)
    {
        if (m_count == 0 || m_freeNodes != other.m_freeNodes || &other == this)
        {
            return 0;
        }
        if (other.m_tail != nullptr)
        {
            other.m_tail->next = m_head;
            m_head->prev = other.m_tail;
        }
        else
        {
            other.m_head = m_head;
        }
        other.m_tail = m_tail;
        other.m_count += m_count;
        m_head = m_tail = nullptr;
        m_count = 0;
        return 1;
    }

    // The node with the smallest item; among equal items the first wins.
    template <typename Compare> Node* FindMin(Compare compare) const
    {
        Node* best = m_head;
        for (Node* node = m_head != nullptr ? m_head->next : nullptr; node != nullptr;
             node = node->next)
        {
            if (compare(node->item, best->item) < 0)
            {
                best = node;
            }
        }
        return best;
    }

    // Appends every item of the other list (the items themselves are shared).
    void Append(const Array& other)
    {
        Node* node = other.m_head;
        for (int left = other.m_count; left > 0; --left, node = node->next)
        {
            AddTail(node->item);
        }
    }

private:
    int ClampPosition(int position) const
    {
        return position < 0 ? 0 : (position >= m_count ? m_count - 1 : position);
    }
    // Takes the node out of the chain without freeing it.
    void Detach(Node* node)
    {
        (node->prev != nullptr ? node->prev->next : m_head) = node->next;
        (node->next != nullptr ? node->next->prev : m_tail) = node->prev;
        --m_count;
    }
    void Unlink(Node* node)
    {
        Detach(node);
        delete node;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    int m_freeNodes = 1;
    int m_count = 0;
};

// A list of pointers, such as the item sets of a sequence element.
template <typename T> using ArrayOfPtr = Array<T>;
